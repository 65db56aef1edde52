#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/TraceFileContainer.h"
#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"

namespace {

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
  traces.newBatch();
  traces.printStr(1, "text");
  EXPECT_EQ(
      "Firing Action: a\nFiring Action: a\nEnabling state before action firing:\n"
      "##### NEW BATCH #####\n##### NEW BATCH #####\ntext\ntext\n",
      os.str());

  os.str("");
  traces.printState();  // no registered model: no state
  traces.RemoveTraceFile(&first);
  traces.newBatch();
  EXPECT_EQ("##### NEW BATCH #####\n", os.str());
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

  // Long messages are cut to the buffer: 1023 characters beside the terminator.
  verbose.str("");
  std::string name(3000, 'x');
  traces.printf(4, "Checking Action: %s", name.c_str());
  EXPECT_EQ(("Checking Action: " + name).substr(0, 1023) + "\n", verbose.str());
}

}  // namespace
