// Every model and net written in every form (binary, compressed, both):
// sanconvert turns each file back into the text form byte for byte, and
// solve gives the same values from every form.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/TestFiles.h"

namespace {

using test_files::ProgramRun;
using test_files::ScratchDir;

const char* const kSuffixes[] = {".arm", ".var", ".pvtype", ".det", ".states", ".firings", ".imp"};
const char* const kForms[] = {"-F2", "-z", "-F2 -z9"};

// A run of a model or net: the command without its output options.
struct Model {
  std::string label;
  std::string command;
  bool markings = true;  // whether gen -M can name its state's variables
};

std::vector<Model> models() {
  const std::string bench = BENCH_BINARY_DIR;
  const std::string nets = std::string(PROJECT_SOURCE_DIR) + "/tests/netimport/nets/";
  const std::string netgen = std::string(NETGEN_EXECUTABLE) + " -m";
  const bool places = false;  // a net's state is no list of places
  std::vector<Model> all = {
      {"this build's model, experiment 1", std::string(GEN_EXECUTABLE) + " -B0"},
      {"this build's model, experiment 25", std::string(GEN_EXECUTABLE) + " -B24"},
      {"kanban t = 2", bench + "/kanban -B1"},
      {"memory_array N = 3", bench + "/memory_array -B2"},
      {"job_shop C = 2", bench + "/job_shop -B1"},
      {"routing", netgen + PROJECT_SOURCE_DIR "/examples/nets/routing.pnml -r " PROJECT_SOURCE_DIR
                  "/examples/nets/routing.timing -w " PROJECT_SOURCE_DIR
                  "/examples/nets/routing.rewards",
       places},
      {"SwimmingPool-PT-01", netgen + PROJECT_SOURCE_DIR "/bench/nets/SwimmingPool-PT-01.pnml",
       places}};
  for (const char* example : {"repairman", "breakdown_queue", "tandem"}) {
    all.push_back({example, std::string(EXAMPLES_DIR) + "/" + example + " -B0"});
  }
  for (const auto& entry : std::filesystem::directory_iterator(MEASURE_MODELS_DIR)) {
    all.push_back({entry.path().filename().string(), entry.path().string() + " -B0"});
  }
  for (const char* net : {"CircularTrains-PT-012", "DatabaseWithMutex-PT-02", "FMS-PT-00002",
                          "PGCD-PT-D02N005", "Philosophers-PT-000005", "TokenRing-PT-005"}) {
    all.push_back({net, netgen + nets + net + ".pnml", places});
  }
  return all;
}

class FormsTest : public testing::Test {
 protected:
  // Generates model as out/<name>.* with the options, asking for every file.
  void generate(const Model& model, const std::string& name, const std::string& options) {
    ProgramRun generated = dir.run(model.command + " -Pout/ -N" + name + " -D " +
                                   (model.markings ? "-M " : "") + options);
    ASSERT_EQ(0, generated.status) << model.command << " " << options << ": " << generated.err;
  }
  // What solve printed for out/<name>, with the name replaced by "run" and
  // without its progress lines, which depend on the time taken.
  std::string solved(const std::string& name) {
    ProgramRun solution = dir.run(std::string(SOLVE_EXECUTABLE) + " out/" + name);
    static const std::regex progress("solve: [^\n]*, [0-9]+ s\n");
    std::string text = solution.out + std::regex_replace(solution.err, progress, "") +
                       std::to_string(solution.status);
    for (std::size_t at; (at = text.find("out/" + name)) != std::string::npos;) {
      text.replace(at, name.size() + 4, "run");
    }
    return text;
  }
  // Expects the same solution from both, but for the values' last digits:
  // text rounds the rates to 11 significant digits, binary keeps them whole.
  void expectAlike(const std::string& text, const std::string& binary) {
    std::istringstream a(text), b(binary);
    std::string lineA, lineB;
    while (std::getline(a, lineA) && std::getline(b, lineB)) {
      std::istringstream fieldsA(lineA), fieldsB(lineB);
      std::string variableA, timeA, variableB, timeB;
      double valueA = 0, errorA = 0, valueB = 0, errorB = 0;
      if ((fieldsA >> variableA >> timeA >> valueA >> errorA) &&
          (fieldsB >> variableB >> timeB >> valueB >> errorB)) {
        EXPECT_EQ(variableA + " " + timeA, variableB + " " + timeB);
        EXPECT_NEAR(valueA, valueB, errorA + errorB + 1e-9 * std::fabs(valueA)) << lineA;
      } else {
        EXPECT_EQ(lineA, lineB);
      }
    }
    EXPECT_EQ(a.eof(), !std::getline(b, lineB)) << "as many lines";
  }

  ScratchDir dir;
};

TEST_F(FormsTest, EveryFormTurnsBackIntoTheTextFilesAndSolvesAlike) {
  dir.run("mkdir out");
  for (const Model& model : models()) {
    SCOPED_TRACE(model.label);
    generate(model, "text", "");
    const std::string values = solved("text");
    for (const char* form : kForms) {
      SCOPED_TRACE(form);
      generate(model, "form", form);
      expectAlike(values, solved("form"));
      ProgramRun converted =
          dir.run(std::string(SANCONVERT_EXECUTABLE) + " out/form out/converted");
      ASSERT_EQ(0, converted.status) << converted.err;
      for (const char* suffix : kSuffixes) {
        EXPECT_EQ(dir.exists(std::string("out/text") + suffix),
                  dir.exists(std::string("out/form") + suffix))
            << suffix;
        EXPECT_TRUE(dir.read(std::string("out/text") + suffix) ==
                    dir.read(std::string("out/converted") + suffix))
            << suffix << " differs";
      }
      dir.run("rm -f out/form.* out/converted.*");
    }
    dir.run("rm -f out/text.*");
  }
}

}  // namespace
