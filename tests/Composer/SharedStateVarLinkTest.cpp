#include <gtest/gtest.h>

#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/SharedStateVarLink.h"

namespace {

TEST(SharedStateVarLinkTest, AChainFindsEveryVariableFromItsHead) {
  Place a("a");
  Place b("b");
  Place c("c");
  SharedStateVarLink* head = new SharedStateVarLink(&a);
  EXPECT_EQ(nullptr, head->Model);
  head->addStateVarLink(new SharedStateVarLink(&b));
  head->addStateVarLink(new SharedStateVarLink(&c));
  EXPECT_TRUE(head->hasStateVar(&a));
  EXPECT_TRUE(head->hasStateVar(&c));
  EXPECT_FALSE(head->Next->hasStateVar(&a));  // only this link and later ones
  EXPECT_EQ(&c, head->Next->Next->StateVariable);
  SharedStateVarLink::clearStateVarList(head);
  SharedStateVarLink::clearStateVarList(nullptr);
}

}  // namespace
