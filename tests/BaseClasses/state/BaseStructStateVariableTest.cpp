#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/state/BaseStructStateVariable.h"
#include "Cpp/BaseClasses/state/MemoryCopy.h"
#include "Cpp/BaseClasses/state/Place.h"

namespace {

// A scalar member of any size, written with the memory copy templates.
template <class T>
class Scalar : public BaseStateVariableClass {
 public:
  T value;
  Scalar(const char* name, T v) : BaseStateVariableClass(name, ""), value(v) {}
  int StateSize() override { return sizeof(T); }
  void SetState(void* buf) override { readMemory2(buf, &value); }
  void CurrentState(void* buf) override { writeMemory(value, buf); }
  void share(BaseStateVariableClass*) override {}
};

// A struct of a short, a double and a char, as a generated struct type would
// build it: the base makes the records, the type fills in the members.
class Record : public BaseStructStateVariable {
 public:
  static constexpr ArrayType kCodes[3] = {ShortType, DoubleType, CharType};
  Scalar<short> s{"s", 0x1234};
  Scalar<double> d{"d", 2.5};
  Scalar<char> c{"c", 'z'};

  explicit Record(const char* name) : BaseStructStateVariable(name, "", kCodes, 3) {
    fields[0].first = &s;
    fields[1].first = &d;
    fields[2].first = &c;
  }
};

// A struct of places, which can be shared member by member.
class PlacePair : public BaseStructStateVariable {
 public:
  Place first{"first"};
  Place second{"second"};

  explicit PlacePair(const char* name, int members = 2) : BaseStructStateVariable(name, "") {
    fields.push_back(field(ShortType, &first));
    if (members > 1) {
      fields.push_back(field(ShortType, &second));
    }
  }
};

TEST(BaseStructStateVariableTest, MembersAreWrittenAtTheirOffsets) {
  Record r("r");
  EXPECT_EQ(11, r.StateSize());

  unsigned char buf[11];
  r.CurrentState(buf);
  short s;
  double d;
  readMemory2(buf, &s);
  readMemory2(buf + 2, &d);
  EXPECT_EQ(0x1234, s);
  EXPECT_EQ(2.5, d);
  EXPECT_EQ('z', buf[10]);

  Record copy("copy");
  copy.s.value = 0;
  copy.d.value = 0.0;
  copy.c.value = 0;
  copy.SetState(buf);
  EXPECT_EQ(0x1234, copy.s.value);
  EXPECT_EQ(2.5, copy.d.value);
  EXPECT_EQ('z', copy.c.value);
}

TEST(BaseStructStateVariableTest, NestedMembersTakeTheirOwnSize) {
  Record inner("inner");
  Scalar<int> i("i", 7);
  BaseStructStateVariable outer("outer", "");
  outer.fields.push_back(outer.field(IntType, &i));
  outer.fields.push_back(outer.field(StructType, &inner));
  EXPECT_EQ(15, outer.StateSize());
  EXPECT_EQ(StructType, outer.getType(1));
  EXPECT_EQ(StructType, outer.getType(5));
  EXPECT_EQ(4, outer.getNumLeafNodes());
  std::unique_ptr<List<BaseStateVariableClass>> leaves(outer.getLeafNodes());
  ASSERT_EQ(4, leaves->getNumItems());
  EXPECT_EQ(&i, leaves->getItem(0));
  EXPECT_EQ(&inner.c, leaves->getItem(3));
}

TEST(BaseStructStateVariableTest, SharingSharesEveryMemberAndTheLists) {
  BaseActionClass reader;
  PlacePair mine("mine");
  PlacePair theirs("theirs");
  theirs.second.setMark(6);
  // The struct's own list, as opposed to its members' lists.
  theirs.getEnabledActions()->append(&reader);
  reader.EnablingSVs.append(&theirs);

  mine.share(&theirs);
  EXPECT_EQ(6, mine.second.getMark());
  theirs.first.setMark(3);
  EXPECT_EQ(3, mine.first.getMark());
  EXPECT_FALSE(theirs.getStored());
  EXPECT_TRUE(theirs.getShared());
  EXPECT_EQ(mine.EnabledActions, theirs.EnabledActions);
  EXPECT_TRUE(reader.EnablingSVs.contains(&mine));
  EXPECT_FALSE(reader.EnablingSVs.contains(&theirs));
}

TEST(BaseStructStateVariableDeathTest, SharingNeedsAStructWithAsManyMembers) {
  PlacePair pair("pair");
  PlacePair shorter("shorter", 1);
  Place p("p");
  EXPECT_DEATH(pair.share(&p), "Assertion failed: otherStruct, file BaseStructStateVariable");
  EXPECT_DEATH(pair.share(&shorter), "otheri!=otherStruct->fields.end\\(\\)");
}

}  // namespace
