// The one owner type: each kind's invalid value owns nothing, every live handle is closed
// exactly once, by the context it was opened in, whether the owner took it at construction or
// through put().

#include "platform/unique_handle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Handles are ints; every close is logged with the name of the context that closed it.
struct CloseLog {
  std::vector<std::string> closed;
};

template <int kInvalid>
struct LoggingTraits {
  using Handle = int;
  static Handle Invalid() { return kInvalid; }
  CloseLog* log = nullptr;
  std::string context;
  void Close(Handle h) const noexcept { log->closed.push_back(context + ":" + std::to_string(h)); }
};

using ZeroIsNone = platform::UniqueHandle<LoggingTraits<0>>;
using MinusOneIsNone = platform::UniqueHandle<LoggingTraits<-1>>;

TEST(UniqueHandle, OnlyTheKindsInvalidValueOwnsNothing) {
  const struct {
    int held;
    bool live_when_zero_is_none, live_when_minus_one_is_none;
  } cases[] = {{0, false, true}, {-1, true, false}, {7, true, true}};
  for (const auto& c : cases) {
    CloseLog log;
    {
      const ZeroIsNone zero({&log, "z"}, c.held);
      const MinusOneIsNone minus_one({&log, "m"}, c.held);
      EXPECT_EQ(static_cast<bool>(zero), c.live_when_zero_is_none) << c.held;
      EXPECT_EQ(static_cast<bool>(minus_one), c.live_when_minus_one_is_none) << c.held;
    }
    std::vector<std::string> expected;
    const std::string held = std::to_string(c.held);
    // Owners go in reverse order of construction.
    if (c.live_when_minus_one_is_none) expected.push_back("m:" + held);
    if (c.live_when_zero_is_none) expected.push_back("z:" + held);
    EXPECT_EQ(log.closed, expected) << c.held;
  }
}

TEST(UniqueHandle, MovesHandOverTheHandleAndItsContext) {
  CloseLog log;
  {
    ZeroIsNone first({&log, "a"}, 1);
    ZeroIsNone second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), 1);
    ZeroIsNone third({&log, "b"}, 2);
    third = std::move(second);  // closes 2 in b, then holds 1 of a
    EXPECT_EQ(log.closed, std::vector<std::string>{"b:2"});
    ZeroIsNone& same = third;
    third = std::move(same);
    EXPECT_EQ(third.get(), 1);
    third.reset(3);  // closes 1 in a
    EXPECT_EQ(third.release(), 3);
    EXPECT_FALSE(third);
  }
  EXPECT_EQ(log.closed, (std::vector<std::string>{"b:2", "a:1"})) << "3 was released, not closed";
}

// A call that hands a handle out through a pointer, as the system's functions do; it writes
// nothing when it fails.
bool Open(int handle, int* out) {
  if (handle == 0) return false;
  *out = handle;
  return true;
}

TEST(UniqueHandle, PutClosesWhatIsHeldAndTakesWhatTheCallWrites) {
  const struct {
    int held, opened;
    std::vector<std::string> closed;  // after the call, then after the owner went
    bool live;
  } cases[] = {
      {0, 5, {"p:5"}, true},         // takes the new handle
      {4, 5, {"p:4", "p:5"}, true},  // the old one closes before the call
      {4, 0, {"p:4"}, false},        // a failed call leaves nothing held
  };
  for (const auto& c : cases) {
    CloseLog log;
    {
      ZeroIsNone owner({&log, "p"}, c.held);
      Open(c.opened, owner.put());
      EXPECT_EQ(static_cast<bool>(owner), c.live) << c.held << "," << c.opened;
    }
    EXPECT_EQ(log.closed, c.closed) << c.held << "," << c.opened;
  }
}

// Traits bound to the object the handles belong to: its member function, or a free function
// given the object, gives each back.
struct Registry {
  std::vector<int> returned;
  void Return(int handle) { returned.push_back(handle); }
};
void ReturnTwice(Registry& registry, int handle) noexcept {
  registry.returned.push_back(handle);
  registry.returned.push_back(handle);
}
using ByMember = platform::UniqueHandle<platform::BoundTraits<Registry, -1, &Registry::Return>>;
using ByFunction = platform::UniqueHandle<platform::BoundTraits<Registry, -1, ReturnTwice>>;

TEST(BoundTraits, GiveEachHandleBackToItsOwnObject) {
  Registry first, second;
  {
    const ByMember none(first);
    ByMember member(first, 0);  // 0 is a handle here: -1 is the kind's none
    const ByFunction function(second, 3);
    ByMember moved(second, 7);
    moved = std::move(member);  // 7 goes back to second, 0 is still first's
  }
  EXPECT_EQ(first.returned, std::vector<int>{0});
  EXPECT_EQ(second.returned, (std::vector<int>{7, 3, 3}));
}

}  // namespace
