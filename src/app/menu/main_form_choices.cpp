// What happens when a generated item is chosen: the feature's action runs, and its verdict is
// followed. Every box the program shows is shown here.

#include "app/menu/choices.h"
#include "app/menu/main_form.h"
#include "app/menu/progress_form.h"
#include "app/menu/review_form.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {

void MainForm::OnProgramChosen(framework::TMenuItem& sender) {
  // Each item launches the program it was made from, whatever its caption looks like.
  const auto* item = dynamic_cast<const ProgramMenuItem*>(&sender);
  if (item == nullptr) return;
  platform::Platform& system = Application().Platform();
  // Shift asks for a quiet uninstall; the state is read as of the click or key that chose.
  if (Windowing().ShiftDown()) {
    if (auto quiet = QuietUninstallChoice(system, item->Program)) {
      Follow(std::move(*quiet));
      return;
    }
  }
  RunAction(UninstallAction(system, item->Program));
}

void MainForm::OnProcessChosen(framework::TMenuItem& sender) {
  // The program ends through the auto-close, once the consent prompt has been answered.
  const auto* item = dynamic_cast<const ProcessMenuItem*>(&sender);
  if (item == nullptr) return;
  if (auto kill = KillAction(Application().Platform().launcher, item->ProcessName)) {
    RunAction(std::move(*kill));
  }
}

void MainForm::RunAction(ActionWork work) {
  Step(CycleEvent::kActionStarted);
  StartAction(std::move(work), true);
}

void MainForm::StartAction(ActionWork work, bool stepped) {
  // Let go at once: the jobs keep it until its reply, and the end waits for that.
  actions_
      .Start<Verdict>(
          std::move(work),
          [this, stepped](Verdict verdict) { OnActionEnded(std::move(verdict), stepped); })
      .release();
}

void MainForm::OnActionEnded(Verdict verdict, bool stepped) {
  progress_timer_.SetEnabled(false);
  if (progress_form_ != nullptr) progress_form_->Hide();
  if (stepped) Step(CycleEvent::kActionEnded);
  // Once the end is asked for, the verdict is not followed: the user is not asked anything more.
  if (close_asked_ || !stepped) {
    CloseOnceStartsReplied();
    return;
  }
  Follow(std::move(verdict));
}

void MainForm::Follow(Verdict verdict) {
  int answer = platform::kIdOk;
  if (verdict.box) {
    Step(CycleEvent::kNoticeOpening);
    answer = ShowBox(*verdict.box);
  }
  if (verdict.review && answer != platform::kIdNo) {
    Review(std::move(*verdict.review));
    return;
  }
  if (verdict.next && answer != platform::kIdNo) {
    RunAction(std::move(verdict.next));
    return;
  }
  if (verdict.end) Step(CycleEvent::kEndAsked);
}

void MainForm::Review(LeftoverReview review) {
  Step(CycleEvent::kNoticeOpening);
  ReviewForm& form = Application().CreateForm<ReviewForm>(review);
  int result = framework::kMrCancel;
  {
    const framework::TJobs::Hold replies(actions_);
    result = form.ShowModal();
  }
  // "Cancel" keeps the record, for the submenu of the next start.
  if (result != framework::kMrOk) {
    Step(CycleEvent::kEndAsked);
    return;
  }
  RunAction(
      RemoveLeftoversAction(Application().Platform(), std::move(review), form.CheckedItems()));
}

void MainForm::OnLeftBehindChosen(framework::TMenuItem& sender) {
  const auto* item = dynamic_cast<const LeftBehindMenuItem*>(&sender);
  if (item == nullptr) return;
  progress_text_ = LookingForLeftoversText(item->Record.record.name);
  RunAction(FindLeftoversAction(Application().Platform(), item->Record));
  progress_timer_.SetEnabled(true);
}

void MainForm::OnProgressDue() {
  progress_timer_.SetEnabled(false);
  if (state_.cycle != CycleState::kRunning) return;
  if (progress_form_ == nullptr) progress_form_ = &Application().CreateForm<ProgressForm>();
  progress_form_->ShowDoing(progress_text_);
}

int MainForm::ShowBox(const Box& box, platform::WindowId owner) {
  // With no owner, the box is a window of its own, under which the auto-close cannot end the
  // program; the cycle has been told of it.
  const framework::TJobs::Hold replies(actions_);
  const std::string caption = box.caption.empty() ? std::string(kTitle) : box.caption;
  return Windowing().ShowMessageBox(owner, box.text, caption, box.style);
}

}  // namespace app
