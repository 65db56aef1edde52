#include "study/ModelBuild.h"

#include <filesystem>
#include <iostream>

#include "study/Process.h"

namespace study {

namespace fs = std::filesystem;

namespace {

const fs::path kSource = SANGEN_SOURCE_DIR;
const fs::path kBinary = SANGEN_BINARY_DIR;

bool isProgress(const std::string& line) {
  return (line.compare(0, 1, "[") == 0 && line.find("%]") != std::string::npos &&
          line.find("Built target") == std::string::npos) ||
         line.find("error") != std::string::npos;
}

}  // namespace

BuildProgram programForDescription(const std::string& description) {
  std::error_code error;
  const fs::path path = fs::weakly_canonical(fs::absolute(description), error);
  const std::string stem = path.stem().string();
  if (path == fs::weakly_canonical(kSource / "model" / "basic_model.san", error)) {
    return {(kBinary / "gen").string(), "gen", ""};
  }
  if (path.parent_path() == fs::weakly_canonical(kSource / "examples", error)) {
    return {(kBinary / "examples" / stem).string(), "example_" + stem, ""};
  }
  return {(kBinary / "models" / stem).string(), "model_" + stem, path.string()};
}

BuildProgram programForNet() { return {(kBinary / "netgen").string(), "netgen", ""}; }

BuildProgram programForSolver() { return {(kBinary / "solve").string(), "solve", ""}; }

std::string buildPrograms(const BuildProgram& model, unsigned jobs, const std::string& logPath) {
  const auto echo = [](const std::string& line) {
    if (isProgress(line)) {
      std::cerr << line << std::endl;
    }
  };
  if (!model.configureWith.empty()) {
    const std::string failed =
        runLogged({"cmake", "-S", kSource.string(), "-B", kBinary.string(),
                   "-DSANGEN_MODEL=" + model.configureWith},
                  logPath, echo);
    if (!failed.empty()) {
      return "configuring the build for " + model.configureWith + " failed (" + failed +
             "); see " + logPath;
    }
  }
  const std::string failed =
      runLogged({"cmake", "--build", kBinary.string(), "--target", model.target,
                 programForSolver().target, "-j", std::to_string(jobs)},
                logPath, echo);
  if (!failed.empty()) {
    return "building " + model.target + " failed (" + failed + "); see " + logPath;
  }
  return "";
}

}  // namespace study
