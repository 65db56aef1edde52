#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/TraceTestModels.h"

namespace {

using trace_test::modelLine;
using trace_test::TreeNode;

TEST(TraceFileTavrelSSGTest, EachLevelAddsItsLines) {
  BaseActionClass action("bit_error", 0, Exponential, RaceEnabled, 0, 0, false);
  std::vector<std::string> traces;
  for (int level = 0; level <= 4; level++) {
    std::ostringstream os;
    TraceFileTavrelSSG writer(&os);
    writer.setTraceLevel(level);
    writer.newBatch();  // unconditional
    writer.printFireAction(&action, 2.5);
    writer.printStr(4, "Checking Action: bit_error");
    writer.printStr(1, "State Number = 1");
    traces.push_back(os.str());
  }
  const std::string batch = "##### NEW BATCH #####\n";
  EXPECT_EQ(batch, traces[0]);
  const std::string levelOne = batch + "Firing Action: bit_error\nState Number = 1\n";
  EXPECT_EQ(levelOne, traces[1]);
  EXPECT_EQ(levelOne, traces[3]);
  EXPECT_EQ(batch + "Firing Action: bit_error\nChecking Action: bit_error\nState Number = 1\n",
            traces[4]);
}

TEST(TraceFileTavrelSSGTest, JoinTreeShowsSharedPlacesInEveryChild) {
  Place shared("flash_corrupted");  // the join's own variable, outliving the children's
  Place flashCorrupted("flash_corrupted");
  Place flashWorking("flash_working", 1);
  Place ramCorruptedFlash("flash_corrupted");
  Place ramWorking("ram_working", 2);
  Place ramCorrupted("ram_corrupted");
  shared.ShareWith(&flashCorrupted);
  shared.ShareWith(&ramCorruptedFlash);
  shared.setMark(5);

  TreeNode flash("flash_system");
  flash.addPlace(&flashCorrupted);
  flash.addPlace(&flashWorking);
  TreeNode ram("ram_system");
  ram.addPlace(&ramCorruptedFlash);
  ram.addPlace(&ramWorking);
  ram.addPlace(&ramCorrupted);
  TreeNode join("Join1");
  join.NumStateVariables = 4;  // a join counts its variables but lists none of its own
  join.Children = {&flash, &ram};

  std::ostringstream os;
  TraceFileTavrelSSG writer(&os);
  writer.setTraceLevel(0);
  writer.printInitialState(&join);
  EXPECT_EQ("Initial Model State:\n" + modelLine(join) + modelLine(flash) +
                "    flash_corrupted = 5\n    flash_working = 1\n" + modelLine(ram) +
                "    flash_corrupted = 5\n    ram_working = 2\n    ram_corrupted = 0\n",
            os.str());
}

}  // namespace
