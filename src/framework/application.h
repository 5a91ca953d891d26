#pragma once

// The application object: the application window, the forms, the message loop and the error
// box for a failure that escapes every handler.

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/command_pool.h"
#include "framework/jobs.h"
#include "framework/owned.h"
#include "platform/platform.h"

namespace framework {

class TForm;
class TPopupList;

class TApplication : private platform::WindowHandler {
 public:
  explicit TApplication(platform::Platform& platform);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  platform::Platform& Platform() const { return platform_; }
  platform::Windowing& Windowing() const { return platform_.windowing; }

  // Creates the application window.
  void Initialize();
  void SetTitle(const std::string& title);
  const std::string& Title() const { return title_; }
  platform::WindowId Handle() const { return window_.get(); }

  // The first form created becomes the main form; forms live until Run returns.
  template <typename Form, typename... Args>
  Form& CreateForm(Args&&... args) {
    auto form = std::make_unique<Form>(*this, std::forward<Args>(args)...);
    Form& ref = *form;
    forms_.Add(std::move(form));
    return ref;
  }
  TForm* MainForm() const;
  TForm* ActiveForm() const { return active_form_; }
  // Disables the application window and every other form; returns those it disabled.
  std::vector<platform::WindowId> DisableWindowsExcept(const TForm& form);
  void SetActiveForm(TForm* form) { active_form_ = form; }

  // Shows the main form and runs the message loop until the program is marked as ending;
  // then destroys the forms.
  void Run();
  // Handles one message, waiting for one when none is queued.
  void HandleMessage();
  // Handles every message that is queued now.
  void ProcessMessages();
  // Requests the end of the program: posts the quit message.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The error box: the failure's text, the title as caption, the error icon and OK.
  void ShowException(const std::exception& failure);
  // Destroys a window for its owner, which may be in a destructor: a failure of the window's
  // handlers meanwhile is shown in the error box instead of being raised.
  void DestroyWindowQuietly(platform::WindowId window) noexcept;
  // Runs a message handler. A failure that escapes it shows the error box and the message's
  // result is 0: the loop goes on with the next message.
  template <typename Handler>
  platform::LResult Guarded(Handler&& handler) {
    try {
      return handler();
    } catch (const std::exception& failure) {
      ShowException(failure);
      return 0;
    }
  }

  // Made when first wanted: a program's start makes no window before it must.
  TPopupList& PopupList();
  // Before any menu lists itself: a menu stays listed with the list it was created under.
  void ReplacePopupList(std::unique_ptr<TPopupList> list);
  CommandPool& Commands() { return commands_; }
  // The application's jobs: they take work from the start, before the application window is
  // made, and hand it over once it is.
  TJobs& Jobs() { return jobs_; }

 private:
  bool ProcessMessage();
  void ShowExceptionQuietly(const std::exception& failure) noexcept;
  void ShowMainForm();
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override;

  // Destroyed from the last up: the forms first, newest first, while the popup list their menus
  // are listed with and the command numbers their items give back are still there; the
  // application window last.
  platform::Platform& platform_;
  std::string title_;
  UniqueWindow window_;
  // Before the forms: what they own of it is let go first.
  TJobs jobs_;
  CommandPool commands_;
  std::unique_ptr<TPopupList> popup_list_;  // none until first wanted or replaced
  TOwnedList<TForm> forms_;
  TForm* active_form_ = nullptr;
  bool terminated_ = false;
  bool main_form_pending_ = false;
};

}  // namespace framework
