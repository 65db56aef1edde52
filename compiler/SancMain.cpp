// sanc: compiles a model description (.san) into the C++ of the model,
// which the framework and the state-space generator run.
//   sanc <model.san> -o <directory> [-d <depfile>]
// writes <directory>/<name>.h and <directory>/<name>.cpp, <name> being the
// description's file name without .san, and with -d a make rule that makes
// them depend on every file read. Errors go to standard error as
// file:line:column: error: message; then nothing is written and the exit
// status is 1.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "common/PrintableText.h"
#include "common/TextFile.h"
#include "compiler/CodeGenerator.h"
#include "compiler/FrontEnd.h"

namespace {

struct Arguments {
  std::string source;
  std::string directory;
  std::string depfile;  // empty: none
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; i++) {
    const std::string argument = argv[i];
    if (argument == "-o" && i + 1 < argc) {
      arguments.directory = argv[++i];
    } else if (argument == "-d" && i + 1 < argc) {
      arguments.depfile = argv[++i];
    } else if (argument.empty() || argument[0] == '-' || !arguments.source.empty()) {
      std::cerr << "sanc: unexpected argument '" << argument << "'" << std::endl;
      return std::nullopt;
    } else {
      arguments.source = argument;
    }
  }
  if (arguments.source.empty() || arguments.directory.empty()) {
    std::cerr << "usage: sanc <model.san> -o <directory> [-d <depfile>]" << std::endl;
    return std::nullopt;
  }
  return arguments;
}

// The whole file; nullopt, with what is wrong in problem, when it cannot
// be read. Anything but a regular file (a FIFO would block) is refused
// before it is read, and reading stops past the size the front end accepts.
std::optional<std::string> readSource(const std::string& path, std::string& problem) {
  TextFileContent content = readTextFile(path, sanc::kMaxSourceSize);
  problem = content.problem;
  return std::move(content.text);
}

// A make rule: the generated files depend on every file of the description.
std::string dependencies(const std::vector<std::filesystem::path>& targets,
                         const std::vector<std::string>& files) {
  auto escaped = [](const std::string& path) {
    std::string text;
    for (char c : path) {
      text += c == ' ' ? std::string("\\ ") : std::string(1, c);
    }
    return text;
  };
  std::string rule;
  for (const std::filesystem::path& target : targets) {
    rule += escaped(target.string()) + " ";
  }
  rule += ":";
  for (const std::string& file : files) {
    rule += " " + escaped(std::filesystem::absolute(file).string());
  }
  return rule + "\n";
}

// Writes text to path through a temporary file, so that a failed write
// leaves no partial file behind.
bool writeFile(const std::filesystem::path& path, const std::string& text) {
  const std::filesystem::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      std::cerr << "sanc: cannot write " << temporary.string() << std::endl;
      std::filesystem::remove(temporary);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::cerr << "sanc: cannot write " << path.string() << ": " << error.message() << std::endl;
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Arguments> arguments = parseArguments(argc, argv);
  if (!arguments) {
    return 1;
  }
  std::string problem;
  const std::optional<std::string> source = readSource(arguments->source, problem);
  if (!source) {
    std::cerr << "sanc: cannot read " << printable(arguments->source) << ": " << problem
              << std::endl;
    return 1;
  }
  sanc::Diagnostics diagnostics(arguments->source);
  const std::optional<sanc::Model> model =
      sanc::compileModel(*source, diagnostics, [](const std::string& path) {
        std::string ignored;
        return readSource(path, ignored);
      });
  for (const sanc::Diagnostic& diagnostic : diagnostics.errors()) {
    std::cerr << diagnostics.format(diagnostic) << std::endl;
  }
  if (!model) {
    return 1;
  }
  const std::filesystem::path directory(arguments->directory);
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) {
    std::cerr << "sanc: cannot create " << directory.string() << ": " << error.message()
              << std::endl;
    return 1;
  }
  const std::string stem = std::filesystem::path(arguments->source).stem().string();
  const std::filesystem::path header = directory / (stem + ".h");
  const std::filesystem::path code = directory / (stem + ".cpp");
  const sanc::GeneratedCode generated = sanc::generateCode(*model, header.string(), code.string());
  if (!writeFile(header, generated.header) || !writeFile(code, generated.source)) {
    return 1;
  }
  return arguments->depfile.empty() ||
                 writeFile(arguments->depfile, dependencies({header, code}, model->files))
             ? 0
             : 1;
}
