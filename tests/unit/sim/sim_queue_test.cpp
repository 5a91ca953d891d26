// The simulated queue, timers and virtual clock.

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

#include "platform/sim/sim_schedule.h"
#include "platform/sim/sim_windowing.h"
#include "sim/recorder.h"

namespace {

using platform::kWmQuit;
using platform::kWmTimer;
using platform::Message;
using platform::WindowKind;
using sim_test::Kind;
using sim_test::Recorder;
using sim_test::RunLoop;

static_assert(!std::is_base_of_v<std::exception, sim::ScriptError>);
static_assert(!std::is_base_of_v<std::exception, sim::Hang>);

constexpr platform::MessageId kPing = platform::kWmUser + 1;

class SimQueue : public ::testing::Test {
 protected:
  sim::WindowSystem ws;
  Recorder recorder{ws};
  platform::WindowId window = ws.NewWindow(Kind(WindowKind::kMessageOnly), &recorder);

  // (time, timer id) of every tick.
  std::vector<std::pair<std::int64_t, platform::WParam>> Ticks() const {
    std::vector<std::pair<std::int64_t, platform::WParam>> out;
    for (const auto& m : recorder.Only(kWmTimer)) out.emplace_back(m.time_ms, m.wparam);
    return out;
  }
};

TEST_F(SimQueue, ATimerFirstFiresOneIntervalAfterItWasSet) {
  ws.At(1234, [&] { ws.SetTimer(window, 7, 3000); });
  recorder.on_message = [&](const sim_test::Logged& m) {
    if (m.id == kWmTimer && Ticks().size() == 3) ws.PostQuit(0);
  };
  RunLoop(ws);
  EXPECT_EQ(Ticks(), (std::vector<std::pair<std::int64_t, platform::WParam>>{
                         {4234, 7}, {7234, 7}, {10234, 7}}));
  EXPECT_EQ(ws.Now(), 10234);
}

TEST_F(SimQueue, TimersTickInDueOrderAndOlderFirstOnATie) {
  ws.SetTimer(window, 1, 100);
  ws.SetTimer(window, 2, 150);
  ws.At(350, [&] { ws.PostQuit(0); });
  RunLoop(ws);
  EXPECT_EQ(Ticks(), (std::vector<std::pair<std::int64_t, platform::WParam>>{
                         {100, 1}, {150, 2}, {200, 1}, {300, 1}, {300, 2}}));
}

TEST_F(SimQueue, ResettingRestartsAndKillingStopsEvenADueTick) {
  ws.SetTimer(window, 2, 1000);  // the oldest: first on a tie
  ws.SetTimer(window, 3, 1000);
  ws.SetTimer(window, 1, 1000);
  ws.At(500, [&] { ws.SetTimer(window, 1, 1000); });
  recorder.on_message = [&](const sim_test::Logged& m) {
    // Timer 2's tick kills timer 3, which is due at that same moment.
    if (m.id == kWmTimer && m.wparam == 2) ws.KillTimer(window, 3);
  };
  ws.At(2600, [&] { ws.PostQuit(0); });
  RunLoop(ws);
  EXPECT_EQ(Ticks(), (std::vector<std::pair<std::int64_t, platform::WParam>>{
                         {1000, 2}, {1500, 1}, {2000, 2}, {2500, 1}}));
  EXPECT_EQ(ws.ActiveTimerCount(), 2u);
}

TEST_F(SimQueue, TimerTableNeverBurstsAfterSkippedPeriods) {
  sim::TimerTable timers;
  timers.Set(5, 1, 100, 0);
  EXPECT_FALSE(timers.TakeDue(99).has_value());
  const auto tick = timers.TakeDue(350);
  ASSERT_TRUE(tick.has_value());
  EXPECT_EQ(tick->window, 5u);
  EXPECT_EQ(tick->id, kWmTimer);
  EXPECT_EQ(tick->wparam, 1u);
  EXPECT_FALSE(timers.TakeDue(350).has_value());
  EXPECT_EQ(timers.NextDue(), 400);
  // Intervals below the platform minimum are raised to it.
  timers.Set(5, 2, 0, 1000);
  EXPECT_EQ(timers.NextDue(), 400);
  timers.Kill(5, 1);
  EXPECT_EQ(timers.NextDue(), 1000 + sim::TimerTable::kMinimumIntervalMs);
}

TEST_F(SimQueue, PostedMessagesComeBeforeQuitAndQuitComesOnce) {
  ws.SetTimer(window, 1, 10);
  ws.At(10, [&] {
    ws.PostTo(window, kPing, 1, 0);
    ws.PostQuit(3);
    ws.PostTo(window, kPing, 2, 0);
  });
  ws.WaitMessage();
  EXPECT_EQ(ws.Now(), 10);
  std::vector<std::pair<platform::MessageId, platform::WParam>> order;
  Message m;
  while (ws.PeekNext(m)) order.emplace_back(m.id, m.wparam);
  EXPECT_EQ(order, (std::vector<std::pair<platform::MessageId, platform::WParam>>{
                       {kPing, 1}, {kPing, 2}, {kWmQuit, 3}, {kWmTimer, 1}}));
}

TEST_F(SimQueue, PostingToAnUnknownWindowFailsAndDispatchIgnoresIt) {
  EXPECT_FALSE(ws.PostTo(0xBAD, kPing, 0, 0));
  EXPECT_TRUE(ws.PostTo(platform::kNoWindow, kPing, 0, 0));
  EXPECT_EQ(ws.Dispatch(Message{0xBAD, kPing, 0, 0}), 0);
  EXPECT_FALSE(ws.SetTimer(0xBAD, 1, 100));
}

TEST_F(SimQueue, WaitMessageWakesForScriptedActions) {
  ws.At(500, [&] { ws.PostTo(window, kPing, 0, 0); });
  ws.At(200, [] {});  // wakes the clock but readies nothing
  ws.WaitMessage();
  EXPECT_EQ(ws.Now(), 500);
  Message m;
  ASSERT_TRUE(ws.PeekNext(m));
  EXPECT_EQ(m.id, kPing);
}

TEST_F(SimQueue, ActionsForPassedTimesRunAtTheNextRetrieval) {
  ws.At(-1, [&] { ws.PostTo(window, kPing, 9, 0); });
  Message m;
  ASSERT_TRUE(ws.PeekNext(m));
  EXPECT_EQ(m.wparam, 9u);
  EXPECT_EQ(ws.PendingActions(), 0u);
}

TEST_F(SimQueue, WaitingForNothingIsAHang) {
  EXPECT_THROW(ws.WaitMessage(), sim::Hang);
}

TEST_F(SimQueue, WaitingPastTheTimeLimitIsAHang) {
  ws.SetTimeLimit(5000);
  ws.SetTimer(window, 1, 3000);
  try {
    RunLoop(ws);
    ADD_FAILURE() << "no hang";
  } catch (const sim::Hang& hang) {
    EXPECT_NE(hang.what.find("time limit"), std::string::npos) << hang;
  }
  EXPECT_EQ(ws.Now(), 3000);
  EXPECT_EQ(Ticks().size(), 1u);
}

// Posts every message it gets straight back: time never moves on.
class Echo : public platform::WindowHandler {
 public:
  explicit Echo(sim::WindowSystem& ws) : ws_(ws) {}
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam, platform::LParam) override {
    ws_.PostTo(window, id, 0, 0);
    return 0;
  }

 private:
  sim::WindowSystem& ws_;
};

TEST_F(SimQueue, AProgramThatNeverWaitsIsAHang) {
  Echo echo(ws);
  ws.PostTo(ws.NewWindow(Kind(WindowKind::kMessageOnly), &echo), kPing, 0, 0);
  EXPECT_THROW(RunLoop(ws), sim::Hang);
}

TEST_F(SimQueue, TimersCanBeMadeToFailAndDieWithTheirWindow) {
  ws.FailTimers(true);
  EXPECT_FALSE(ws.SetTimer(window, 1, 100));
  ws.FailTimers(false);
  EXPECT_TRUE(ws.SetTimer(window, 1, 100));
  EXPECT_TRUE(ws.SetTimer(window, 2, 100));
  EXPECT_EQ(ws.ActiveTimerCount(), 2u);
  ws.DestroyWindow(window);
  EXPECT_EQ(ws.ActiveTimerCount(), 0u);
}

}  // namespace
