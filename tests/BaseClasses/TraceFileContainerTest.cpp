#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/TraceFileContainer.h"
#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/TraceTestModels.h"

namespace {

// Records every call it receives, tagged with its own name.
class RecordingWriter : public TraceFile {
 public:
  std::vector<std::string>* Log;
  std::string Tag;

  RecordingWriter(std::vector<std::string>* log, const char* tag) : Log(log), Tag(tag) {}
  void record(const std::string& call) { Log->push_back(Tag + ":" + call); }

  void printHeader(PVModel*) override { record("header"); }
  void printFooter() override { record("footer"); }
  void printInitialState(BaseModelClass*) override { record("initial"); }
  void printState(BaseModelClass*) override { record("state"); }
  void printState(PVModel*) override { record("pvstate"); }
  void printFireAction(BaseActionClass* a, double d) override {
    record(std::string("fire ") + a->Name + " " + std::to_string(d));
  }
  void printPreFireAction(BaseActionClass* a) override { record(std::string("pre ") + a->Name); }
  void printPostFireAction(BaseActionClass* a, BaseActionClass*) override {
    record(std::string("post ") + a->Name);
  }
  void newBatch() override { record("batch"); }
  void printStr(int level, const char* text) override {
    record("str " + std::to_string(level) + " " + text);
  }
};

TEST(TraceFileContainerTest, PassesEveryCallToEveryWriterInOrder) {
  std::vector<std::string> log;
  RecordingWriter first(&log, "1");
  RecordingWriter second(&log, "2");
  TraceFileContainer traces;
  traces.AddTraceFile(&first);
  traces.AddTraceFile(&second);
  BaseActionClass action("a", 0, Exponential, RaceEnabled, 0, 0, false);

  traces.printFireAction(&action, 0.5);
  traces.printPreFireAction(&action);
  traces.printPostFireAction(&action, &action);
  traces.newBatch();
  traces.printFooter();
  traces.printStr(4, "text");
  traces.printf(1, "State Number = %d", 7);
  traces.printHeader();
  EXPECT_EQ(
      (std::vector<std::string>{
          "1:fire a 0.500000", "2:fire a 0.500000", "1:pre a", "2:pre a", "1:post a", "2:post a",
          "1:batch", "2:batch", "1:footer", "2:footer", "1:str 4 text", "2:str 4 text",
          "1:str 1 State Number = 7", "2:str 1 State Number = 7", "1:header", "2:header"}),
      log);

  log.clear();
  // Without a registered model, and through the overloads with arguments,
  // the container traces no state.
  traces.printState();
  traces.printInitialState();
  traces.printState(static_cast<PVModel*>(nullptr));
  traces.printState(static_cast<BaseModelClass*>(nullptr));
  traces.printHeader(nullptr);
  EXPECT_TRUE(log.empty());

  traces.RemoveTraceFile(&first);
  traces.newBatch();
  EXPECT_EQ(std::vector<std::string>{"2:batch"}, log);
}

TEST(TraceFileContainerTest, WithoutWritersDoesNothing) {
  TraceFileContainer traces;
  BaseActionClass action;
  traces.printHeader();
  traces.printState();
  traces.printInitialState();
  traces.printFireAction(&action, 0.0);
  traces.printPreFireAction(&action);
  traces.printPostFireAction(&action, &action);
  traces.newBatch();
  traces.printFooter();
  traces.printStr(0, "text");
  traces.printf(0, "%d", 1);
  EXPECT_TRUE(traces.Files.empty());
}

TEST(TraceFileContainerTest, EachWriterFiltersByItsOwnLevel) {
  std::ostringstream quiet;
  std::ostringstream verbose;
  TraceFileTavrelSSG quietWriter(&quiet);
  TraceFileTavrelSSG verboseWriter(&verbose);
  quietWriter.setTraceLevel(1);
  verboseWriter.setTraceLevel(4);
  TraceFileContainer traces;
  traces.setTraceLevel(0);  // the container's own level filters nothing
  traces.AddTraceFile(&quietWriter);
  traces.AddTraceFile(&verboseWriter);

  traces.printf(4, "The rate to this state: %f", 0.25);
  traces.printf(1, "Generated: %d states", 12);
  EXPECT_EQ("Generated: 12 states\n", quiet.str());
  EXPECT_EQ("The rate to this state: 0.250000\nGenerated: 12 states\n", verbose.str());
}

TEST(TraceFileContainerTest, TracesTheComposedModelUnderTheRegisteredRewardModel) {
  Place working("ram_working", 1);
  auto* ram = new trace_test::TreeNode("ram_system");
  ram->addPlace(&working);
  trace_test::BareRewardModel reward(ram);  // releases ram
  std::ostringstream os;
  TraceFileTavrelSSG writer(&os);
  TraceFileContainer traces;
  traces.AddTraceFile(&writer);
  traces.addPVModel(&reward);

  traces.printHeader();
  traces.printInitialState();
  traces.printState();
  const std::string tree = trace_test::modelLine(*ram) + "    ram_working = 1\n";
  EXPECT_EQ(
      "**************************************\n\t\tTRACE\n**************************************\n"
      "Initial Model State:\n" +
          tree + tree,
      os.str());
}

TEST(TraceFileContainerTest, LongMessagesAreCutToTheBuffer) {
  std::vector<std::string> log;
  RecordingWriter writer(&log, "w");
  TraceFileContainer traces;
  traces.AddTraceFile(&writer);
  std::string name(3000, 'x');
  traces.printf(1, "Checking Action: %s", name.c_str());
  ASSERT_EQ(1u, log.size());
  // 1023 characters fit beside the terminator.
  EXPECT_EQ("w:str 1 Checking Action: " + name.substr(0, 1023 - 17), log[0]);
}

}  // namespace
