// Net models joined on shared places, through the real generator: the
// composed state vector, the firings across the nets and the files written.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "Cpp/BaseClasses/PVModel.h"
#include "generator/StateSpaceGen.h"
#include "tests/BaseClasses/TestNets.h"
#include "tests/TestFiles.h"

namespace {

using test_nets::NetBuilder;
using test_nets::NetJoin;

// A reward model without variables over a join it owns.
class JoinedNets : public PVModel {
 public:
  explicit JoinedNets(NetJoin* join) {
    ChildModel = join;
    DefineName("joined");
    CreatePVList(0, false);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int, int) override { return nullptr; }
};

// The producer puts (rate 2) the job of its idle place into the buffer; the
// consumer takes it back to idle, alternating between takeA (rate 3, from A
// to B) and takeB (rate 5, from B to A). buffer and idle are shared, so the
// state vector is (A, B, buffer, idle):
//   1 (1,0,0,1) -put-> 2 (1,0,1,0) -takeA-> 3 (0,1,0,1) -put-> 4 (0,1,1,0) -takeB-> 1
TEST(JoinedNetsTest, FireAcrossTheirSharedPlacesThroughTheGenerator) {
  NetDescription producer = NetBuilder("producer")
                                .place("idle", 1)
                                .place("buffer")
                                .transition("put", Exponential, 2.0)
                                .arc("idle", "put")
                                .arc("put", "buffer")
                                .net;
  NetDescription consumer = NetBuilder("consumer")
                                .place("A", 1)
                                .place("B")
                                .place("buffer")
                                .place("idle", 1)
                                .transition("takeA", Exponential, 3.0)
                                .transition("takeB", Exponential, 5.0)
                                .arc("buffer", "takeA")
                                .arc("A", "takeA")
                                .arc("takeA", "idle")
                                .arc("takeA", "B")
                                .arc("buffer", "takeB")
                                .arc("B", "takeB")
                                .arc("takeB", "idle")
                                .arc("takeB", "A")
                                .net;
  JoinedNets model(new NetJoin({producer, consumer}, {"buffer", "idle"}));
  test_files::ScratchDir dir("joined");
  const std::string prefix = dir.prefix();  // the generator keeps the pointer
  const std::ios::fmtflags flags = std::cout.flags();
  testing::internal::CaptureStdout();
  {
    StateSpaceGen generator(&model, prefix.c_str(), "run", 0, 0.5, nullptr, nullptr, nullptr);
    generator.SetTraceLevel(0);
    generator.InitializeTrace();
    generator.GenStateSpace();
  }
  const std::string out = testing::internal::GetCapturedStdout();
  std::cout.flags(flags);  // the run switches standard output to scientific
  EXPECT_NE(std::string::npos, out.find("Generated: 4 states\n")) << out;
  EXPECT_EQ("1\n4\n" + std::string(61, ' ') +
                "\n"
                "1\n2\n2.0000000000e+00\n0\n"
                "2\n3\n3.0000000000e+00\n0\n"
                "3\n4\n2.0000000000e+00\n0\n"
                "4\n1\n5.0000000000e+00\n0\n",
            dir.read("run.arm"));
}

}  // namespace
