// Imports: atomic models of another description, read through a loader,
// checked here, and reported (and mapped by #line) in their own file.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "compiler/CodeGenerator.h"
#include "compiler/FrontEnd.h"

namespace {

const char kLibrary[] =
    "global short k = 3\n"
    "atomic part {\n  place p = 1\n  activity go rate 2  in p\n}\n"
    "atomic broken {\n  place q\n  activity t rate 1 in r\n}\n"
    "join unused {\n  part\n}\n";

struct Compilation {
  std::optional<sanc::Model> model;
  std::vector<std::string> errors;  // formatted, with their files
  std::vector<std::string> reads;   // the paths the loader was asked for
};

// Compiles source as models/main.san, whose imports find the files of files.
Compilation compile(const std::string& source, const std::map<std::string, std::string>& files) {
  Compilation result;
  sanc::Diagnostics diagnostics("models/main.san");
  const sanc::FileLoader load = [&](const std::string& path) -> std::optional<std::string> {
    result.reads.push_back(path);
    const auto file = files.find(path);
    return file == files.end() ? std::nullopt : std::optional<std::string>(file->second);
  };
  result.model = sanc::compileModel(source, diagnostics, load);
  for (const sanc::Diagnostic& error : diagnostics.errors()) {
    result.errors.push_back(diagnostics.format(error));
  }
  return result;
}

const std::map<std::string, std::string> kFiles = {{"lib/parts.san", kLibrary}};

TEST(ImportTest, ImportedModelsAreUsedAsIfWrittenHere) {
  Compilation result = compile(
      "import part from \"../lib/parts.san\"\nglobal short k = 5\n"
      "join two {\n  a = part, b = part\n}\n",
      kFiles);
  ASSERT_TRUE(result.model) << result.errors.front();
  EXPECT_EQ(std::vector<std::string>({"lib/parts.san"}), result.reads);
  EXPECT_EQ(std::vector<std::string>({"models/main.san", "lib/parts.san"}), result.model->files);
  ASSERT_EQ(1u, result.model->atomics.size());
  // The imported activity's rate is mapped to its own file.
  const std::string code = sanc::generateCode(*result.model, "two.h", "two.cpp").source;
  EXPECT_NE(std::string::npos, code.find("#line 4 \"lib/parts.san\"\n                   2.0\n"))
      << code;
}

TEST(ImportTest, ErrorsArePlacedInTheFileTheyAreIn) {
  EXPECT_EQ(std::vector<std::string>(
                {"lib/parts.san:8:24: error: atomic model 'broken' has no place 'r'"}),
            compile("import broken from \"../lib/parts.san\"\n", kFiles).errors);
  EXPECT_EQ(std::vector<std::string>({"models/main.san:1:18: error: cannot read lib/none.san"}),
            compile("import part from \"../lib/none.san\"\n", kFiles).errors);
  EXPECT_EQ(std::vector<std::string>(
                {"models/main.san:1:8: error: lib/parts.san has no atomic model 'unused'"}),
            compile("import unused from \"../lib/parts.san\"\n", kFiles).errors);
  EXPECT_EQ(std::vector<std::string>(
                {"models/main.san:1:14: error: 'part' is already imported on this line"}),
            compile("import part, part from \"../lib/parts.san\"\n", kFiles).errors);
  EXPECT_EQ(std::vector<std::string>({"models/main.san:1:18: error: cannot read lib/parts.san"}),
            compile("import part from \"../lib/parts.san\"\n", {}).errors);
  EXPECT_EQ(
      "models/main.san:1:15: error: unexpected 'lib' where the file's name in double "
      "quotes was expected",
      compile("import a from lib.san\n", kFiles).errors.front());
  EXPECT_EQ(
      "lib/parts.san:2:8: error: 'part' is already declared as an atomic model (line 1)",
      compile("atomic part {\n}\nimport part from \"../lib/parts.san\"\n", kFiles).errors.front());
}

TEST(ImportTest, ADescriptionImportsFromABoundedNumberOfFiles) {
  // Sixteen files of one model each, joined here.
  std::map<std::string, std::string> files;
  std::string source;
  std::string children;
  for (std::size_t i = 0; i < sanc::kMaxImports; i++) {
    const std::string model = "m" + std::to_string(i);
    files["lib/" + model + ".san"] = "atomic " + model + " {\n  place p\n}\n";
    source += "import " + model + " from \"../lib/" + model + ".san\"\n";
    children += (i == 0 ? "" : ", ") + model;
  }
  source += "join all {\n  " + children + "\n}\n";
  Compilation sixteen = compile(source, files);
  EXPECT_EQ(std::vector<std::string>(), sixteen.errors);
  EXPECT_EQ(sanc::kMaxImports, sixteen.reads.size());
  Compilation more = compile("import part from \"../lib/parts.san\"\n" + source, files);
  EXPECT_TRUE(more.reads.empty());
  EXPECT_EQ(std::vector<std::string>(
                {"models/main.san:17:17: error: a description imports from at most 16 files"}),
            more.errors);
}

}  // namespace
