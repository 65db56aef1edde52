// Names of the state variables in the ".states" file: a composed model's
// own variables plain, a child's behind its name, replicas numbered, shared
// places once under the composer that writes them.
#include <gtest/gtest.h>

#include <string>

#include "generator/StateMarkings.h"
#include "tests/Composer/TestModels.h"
#include "tests/generator/GeneratorTestModels.h"
#include "tests/ModelViews.h"
#include "tests/TestFiles.h"

namespace {

using composer_test::TestJoin;
using composer_test::TestSAN;

TEST(StateMarkingsTest, NamesFollowTheStateVectorThroughNestedJoins) {
  // Two replicas of "ram" share s inside "inner"; "inner" shares it again
  // with "flash" in the outer join, which writes it last.
  auto* inner = new TestJoin(
      "inner", {new TestSAN("ram", {{"w", 1}, {"s", 0}}), new TestSAN("ram", {{"w", 2}, {"s", 0}})},
      {"s"});
  inner->DefineName("inner");
  TestJoin outer("outer", {inner, new TestSAN("flash", {{"f", 3}, {"s", 4}})}, {"s"});
  StateMarkings markings;
  ASSERT_TRUE(markings.Describe(&outer, outer.StateSize()));
  test_files::TempFile file("states");
  ASSERT_TRUE(markings.Open(file.c_str()));
  markings.Write(7, model_views::stateOf(outer).data());
  ASSERT_TRUE(markings.Close());
  EXPECT_EQ("state inner.ram[1].w inner.ram[2].w flash.f s\n7 1 2 3 4\n", file.read());
}

TEST(StateMarkingsTest, ErlangPhasesFollowTheMarkingUnderTheirActivitysName) {
  ssg_test::TestPVModel model("net", {{"p", 5}}, {ssg_test::erlang("e", 1.0, 3)});
  StateMarkings markings;
  ASSERT_TRUE(markings.Describe(&model, model.StateSize()));
  test_files::TempFile file("states");
  ASSERT_TRUE(markings.Open(file.c_str()));
  markings.Write(1, model_views::stateOf(model).data());
  ASSERT_TRUE(markings.Close());
  EXPECT_EQ("state p e.phase\n1 5 1\n", file.read());
}

}  // namespace
