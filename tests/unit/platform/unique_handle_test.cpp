// The one owner type: each kind's invalid value owns nothing, every live handle is closed
// exactly once, by the context it was opened in.

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
struct LoggingCloser {
  using Handle = int;
  static Handle Invalid() { return kInvalid; }
  CloseLog* log = nullptr;
  std::string context;
  void Close(Handle h) const noexcept { log->closed.push_back(context + ":" + std::to_string(h)); }
};

using ZeroIsNone = platform::UniqueHandle<LoggingCloser<0>>;
using MinusOneIsNone = platform::UniqueHandle<LoggingCloser<-1>>;

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

}  // namespace
