// A chosen action's work runs off the GUI thread: the queue keeps moving meanwhile, the reply
// comes once, waits for an open box, and the program ends only once it has come.

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

using testing_support::Forms;

// Work that counts its runs and asks for a box, or for nothing and the end.
app::ActionWork Counted(int& runs, bool box) {
  return [&runs, box](std::stop_token) {
    ++runs;
    if (!box) return app::Verdict{};
    return app::Verdict{app::Box{"done", platform::kMbIconInformation}, {}, false};
  };
}

TEST(ActionRunner, TheQueueMovesWhileTheWorkWaitsAndTheReplyComesOnce) {
  Forms forms;
  int runs = 0;
  forms.sim.workers.Hold(true);
  forms.sim.windows.AnswerBox(platform::kIdOk);
  forms.main_form->RunAction(Counted(runs, true));
  EXPECT_EQ(forms.state.cycle, app::CycleState::kRunning);
  forms.sim.windows.PostTo(forms.application.Handle(), platform::kWmUser, 0, 0);
  forms.Settle();
  EXPECT_EQ(forms.sim.windows.QueuedMessageCount(), 0u) << "the GUI thread went on";
  EXPECT_EQ(runs, 0);
  forms.sim.workers.RunHeld();
  forms.Settle();
  forms.Settle();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(forms.sim.windows.Boxes().size(), 1u) << "one reply, one verdict";
}

TEST(ActionRunner, AReplyDuringABoxWaitsUntilItIsClosed) {
  Forms forms;
  int runs = 0;
  forms.sim.workers.Hold(true);
  forms.main_form->RunAction(Counted(runs, true));
  sim::WindowSystem& ws = forms.sim.windows;
  // The work ends while an earlier box is up; that box is answered a second later.
  ws.At(ws.Now() + 500, [&forms] { forms.sim.workers.RunHeld(); });
  ws.AnswerBox(platform::kIdOk, 1000);
  ws.AnswerBox(platform::kIdOk, 1000);
  forms.main_form->ShowBox(app::Box{"first", platform::kMbIconInformation});
  EXPECT_EQ(runs, 1);
  ASSERT_EQ(ws.Boxes().size(), 1u) << "the reply was not followed inside the box";
  forms.Settle();
  ASSERT_EQ(ws.Boxes().size(), 2u);
  EXPECT_GE(ws.Boxes()[1].time_ms, ws.Boxes()[0].closed_ms);
}

TEST(ActionRunner, AnEndAskedDuringTheWorkWaitsForItsReplyAndCancelsNothing) {
  Forms forms;
  int runs = 0;
  forms.sim.workers.Hold(true);
  forms.main_form->RunAction(Counted(runs, true));
  forms.main_form->End();
  forms.Settle();
  EXPECT_FALSE(forms.Ended()) << "a start is under way";
  forms.sim.workers.RunHeld();
  forms.Settle();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(forms.Ended());
  EXPECT_TRUE(forms.sim.windows.Boxes().empty()) << "no verdict is followed after the end";
}

}  // namespace
