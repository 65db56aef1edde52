#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/TraceFileContainer.h"
#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/TraceTestModels.h"

namespace {

const char* const kBanner =
    "**************************************\n\t\tTRACE\n**************************************\n";

// Two writers on one stream: each call shows up once per writer, in order.
TEST(TraceFileContainerTest, PassesEveryCallToEveryWriterInOrder) {
  std::ostringstream os;
  TraceFileTavrelSSG first(&os);
  TraceFileTavrelSSG second(&os);
  second.setTraceLevel(2);
  TraceFileContainer traces;
  traces.AddTraceFile(&first);
  traces.AddTraceFile(&second);
  BaseActionClass action("a", 0, Exponential, RaceEnabled, 0, 0, false);

  traces.printFireAction(&action, 0.5);
  traces.printPreFireAction(&action);  // the second writer's level shows it
  traces.printPostFireAction(&action, &action);
  traces.newBatch();
  traces.printFooter();
  traces.printStr(1, "text");
  traces.printHeader();
  EXPECT_EQ(
      "Firing Action: a\nFiring Action: a\nEnabling state before action firing:\n"
      "State after firing action: a\nState after firing action: a\n"
      "##### NEW BATCH #####\n##### NEW BATCH #####\ntext\ntext\n" +
          std::string(kBanner) + kBanner,
      os.str());

  os.str("");
  // Without a registered model, and through the overloads with arguments,
  // the container traces no state.
  traces.printState();
  traces.printInitialState();
  traces.printState(static_cast<PVModel*>(nullptr));
  traces.printState(static_cast<BaseModelClass*>(nullptr));
  traces.printHeader(nullptr);
  EXPECT_EQ("", os.str());

  traces.RemoveTraceFile(&first);
  traces.newBatch();
  EXPECT_EQ("##### NEW BATCH #####\n", os.str());
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

TEST(TraceFileContainerTest, FormatsOnceAndEachWriterFiltersByItsOwnLevel) {
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

TEST(TraceFileContainerTest, LongMessagesAreCutToTheBuffer) {
  std::ostringstream os;
  TraceFileTavrelSSG writer(&os);
  TraceFileContainer traces;
  traces.AddTraceFile(&writer);
  std::string name(3000, 'x');
  traces.printf(1, "Checking Action: %s", name.c_str());
  // 1023 characters fit beside the terminator.
  std::string expected = "Checking Action: " + name;
  EXPECT_EQ(expected.substr(0, 1023) + "\n", os.str());
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
  EXPECT_EQ(kBanner + ("Initial Model State:\n" + tree) + tree, os.str());
}

}  // namespace
