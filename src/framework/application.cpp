#include "framework/application.h"

#include <stdexcept>

#include "framework/form.h"
#include "framework/popup_list.h"

namespace framework {

TApplication::TApplication(platform::Platform& platform) : platform_(platform), jobs_(*this) {}

// The forms must be complete where they are destroyed, so not in the header.
TApplication::~TApplication() = default;

void DestroyQuietly(TApplication& app, platform::WindowId window) noexcept {
  app.DestroyWindowQuietly(window);
}

void TApplication::Initialize() {
  if (window_) return;
  platform::WindowSpec desc;
  desc.kind = platform::WindowKind::kApplication;
  desc.caption = title_;
  const platform::WindowId id = Windowing().NewWindow(desc, this);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create the application window");
  window_ = UniqueWindow(*this, id);
  jobs_.Open();
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (window_) Windowing().SetCaption(window_.get(), title);
}

TForm* TApplication::MainForm() const {
  return forms_.Count() == 0 ? nullptr : &forms_[0];
}

std::vector<platform::WindowId> TApplication::DisableWindowsExcept(const TForm& form) {
  std::vector<platform::WindowId> windows{window_.get()};
  for (const auto& other : forms_) {
    if (other.get() != &form) windows.push_back(other->Handle());
  }
  std::vector<platform::WindowId> disabled;
  for (platform::WindowId window : windows) {
    if (window == platform::kNoWindow) continue;
    if (!Windowing().EnableWindow(window, false)) disabled.push_back(window);
  }
  return disabled;
}

TPopupList& TApplication::PopupList() {
  if (!popup_list_) popup_list_ = std::make_unique<TPopupList>(*this);
  return *popup_list_;
}

void TApplication::ReplacePopupList(std::unique_ptr<TPopupList> list) {
  popup_list_ = std::move(list);
}

void TApplication::Run() {
  ShowMainForm();
  // One message is handled even when the end was requested before the loop started.
  do {
    HandleMessage();
  } while (!terminated_);
  forms_.Clear();
}

void TApplication::ShowMainForm() {
  TForm* main = MainForm();
  if (main == nullptr) return;
  if (Windowing().StartupShowState() == platform::kSwShowMinNoActive) {
    // Started minimised: only the task-bar entry shows until the user restores the program.
    main_form_pending_ = true;
    Windowing().ShowWindow(window_.get(), platform::kSwShowMinNoActive);
    return;
  }
  main->Show();
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Windowing().WaitMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

bool TApplication::ProcessMessage() {
  platform::Message message;
  if (!Windowing().PeekNext(message)) return false;
  if (message.id == platform::kWmQuit) {
    terminated_ = true;
    return true;
  }
  TForm* modal = active_form_ != nullptr && active_form_->Modal() ? active_form_ : nullptr;
  // A dialog key can press a button, whose failure is reported like any handler's.
  if (modal != nullptr && Guarded([&] { return platform::LResult{modal->DialogKey(message)}; })) {
    return true;
  }
  Windowing().Dispatch(message);
  return true;
}

void TApplication::Terminate() {
  Windowing().PostQuit(0);
}

void TApplication::ShowException(const std::exception& failure) {
  std::string text = failure.what();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  Windowing().ShowMessageBox(window_.get(), text, title_, platform::kMbOk | platform::kMbIconError);
}

void TApplication::DestroyWindowQuietly(platform::WindowId window) noexcept {
  try {
    Windowing().DestroyWindow(window);
  } catch (const std::exception& failure) {
    ShowExceptionQuietly(failure);
  } catch (...) {
    // A failure that is no std::exception has no text for the box; the window is gone.
  }
}

void TApplication::ShowExceptionQuietly(const std::exception& failure) noexcept {
  try {
    ShowException(failure);
  } catch (...) {
    // The box itself failed while the program was taking its windows down: there is nobody
    // left to tell, and raising it would end the program in std::terminate.
  }
}

platform::LResult TApplication::HandleMessage(platform::WindowId window, platform::MessageId id,
                                              platform::WParam wparam, platform::LParam lparam) {
  const bool restoring = id == platform::kWmSysCommand &&
                         (wparam & platform::kSysCommandMask) == platform::kScRestore &&
                         main_form_pending_;
  if (!restoring) return Windowing().DefaultProc(window, id, wparam, lparam);
  return Guarded([&] {
    const platform::LResult result = Windowing().DefaultProc(window, id, wparam, lparam);
    main_form_pending_ = false;
    if (TForm* main = MainForm()) main->Show();
    return result;
  });
}

}  // namespace framework
