// The one owner of every handle kind, with a fake close function that counts.
#include <gtest/gtest.h>

#include <vector>

#include "platform/UniqueHandle.h"

namespace nb {
namespace {

struct CountingPolicy {
  using Type = int;
  static Type Empty() { return -1; }
  static void Close(Type handle) { closed.push_back(handle); }
  static inline std::vector<int> closed;
};
using Owner = UniqueHandle<CountingPolicy>;

class UniqueHandleTest : public testing::Test {
 protected:
  void SetUp() override { CountingPolicy::closed.clear(); }
  const std::vector<int>& closed = CountingPolicy::closed;
};

TEST_F(UniqueHandleTest, ClosesWhatItOwnsOnceAndNothingWhenEmpty) {
  {
    Owner empty;
    EXPECT_FALSE(empty);
    Owner owner(7);
    EXPECT_TRUE(owner.valid());
    EXPECT_EQ(owner.get(), 7);
  }
  EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueHandleTest, MovingHandsOverWithoutClosing) {
  {
    Owner first(1);
    Owner second(std::move(first));
    EXPECT_FALSE(first.valid());
    EXPECT_EQ(second.get(), 1);
    Owner third(3);
    third = std::move(second);  // 3 closes, 1 moves on
    EXPECT_EQ(closed, std::vector<int>{3});
    EXPECT_EQ(third.get(), 1);
    Owner& self = third;
    third = std::move(self);
    EXPECT_EQ(third.get(), 1) << "moving onto itself keeps the handle";
  }
  EXPECT_EQ(closed, (std::vector<int>{3, 1}));
}

TEST_F(UniqueHandleTest, ResetClosesTheOldHandleAndReleaseGivesItAway) {
  Owner owner(4);
  owner.reset(5);
  EXPECT_EQ(closed, std::vector<int>{4});
  EXPECT_EQ(owner.release(), 5);
  EXPECT_FALSE(owner.valid());
  owner.reset();
  EXPECT_EQ(closed, std::vector<int>{4}) << "a released handle is the caller's to close";
}

TEST_F(UniqueHandleTest, PutClosesTheCurrentHandleAndReceivesTheNewOne) {
  Owner owner(8);
  int* slot = owner.put();
  EXPECT_EQ(closed, std::vector<int>{8});
  EXPECT_EQ(*slot, CountingPolicy::Empty());
  *slot = 9;  // as an API with an out-parameter would
  EXPECT_EQ(owner.get(), 9);
  owner.reset();
  EXPECT_EQ(closed, (std::vector<int>{8, 9}));
}

}  // namespace
}  // namespace nb
