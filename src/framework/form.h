#pragma once

// A form: one top-level window with its event handlers. Private messages reach a form either
// through its window or by a direct call of Perform.

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/owned.h"
#include "platform/windowing.h"

namespace framework {

class TApplication;
class TControl;

inline constexpr int kMrNone = 0;
inline constexpr int kMrOk = 1;
inline constexpr int kMrCancel = 2;

// A form as designed at 96 dpi; it is scaled to the DPI it is drawn at.
struct FormSpec {
  std::string caption;
  int left = 0;
  int top = 0;
  int client_width = 0;
  int client_height = 0;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  bool centered = false;  // at the centre of the screen when first shown, then where left
};

// A dialog's design: a fixed single-line border, the system menu and the close button, above
// ordinary windows, at the centre of the screen.
inline FormSpec CenteredDialog(std::string caption, int client_width, int client_height) {
  FormSpec desc;
  desc.caption = std::move(caption);
  desc.client_width = client_width;
  desc.client_height = client_height;
  desc.ex_style = platform::kWsExTopmost;
  desc.centered = true;
  return desc;
}

class TForm : private platform::WindowHandler {
 public:
  TForm(TApplication& app, const FormSpec& desc);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  TApplication& Application() const { return app_; }
  platform::WindowId Handle() const { return handle_; }

  void Show();
  void Hide();
  // Closing the main form ends the program; a modal form ends its modal showing; any other
  // form is hidden.
  void Close();
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult = kMrNone;

  // Delivers a message to this form's handling at once, not through the queue.
  platform::LResult Perform(platform::MessageId id, platform::WParam wparam,
                            platform::LParam lparam);
  // Whether a handler of the form's own is registered for the message.
  bool Handles(platform::MessageId id) const { return handlers_.contains(id); }

  // The dialog keys, for a message taken from the queue while this form is modal: Tab and
  // Shift+Tab move the focus in tab order, Enter presses a focused button, Escape does what
  // the form's Escaped says (nothing, unless it says otherwise). True when the message was one
  // of them and must not be dispatched.
  bool DialogKey(const platform::Message& message);

  // The DPI the form is laid out for: the system's at creation, then its monitor's.
  int Dpi() const { return dpi_; }
  // Lays the form and its controls out again for dpi, the form's frame at the given bounds.
  void ApplyDpi(int dpi, const platform::Rect& frame);

  // Controls list themselves; the form keeps them in tab order for as long as the owner it
  // gives back lives.
  void RemoveControl(TControl* control) noexcept;
  using ControlListing = platform::UniqueHandle<
      platform::BoundTraits<TForm, static_cast<TControl*>(nullptr), &TForm::RemoveControl>>;
  [[nodiscard]] ControlListing AddControl(TControl& control);

 protected:
  using MessageHandler = std::function<void(platform::WParam, platform::LParam)>;
  void OnMessage(platform::MessageId id, MessageHandler handler) {
    handlers_[id] = std::move(handler);
  }

  virtual void Activate() {}
  virtual void Escaped() {}
  // The form's window procedure; the default one runs registered handlers, activation and
  // closing, and leaves the rest to the platform.
  virtual platform::LResult WndProc(platform::MessageId id, platform::WParam wparam,
                                    platform::LParam lparam);
  platform::Windowing& Windowing() const;

 private:
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override;
  bool OwnsWindow(platform::WindowId window) const;
  TControl* ControlOf(platform::WindowId window) const;
  std::vector<TControl*> TabStops() const;
  // The focus goes back to the control that last had it, the first tab stop at first.
  void FocusActiveControl();
  void RememberFocus();
  void SelectNext(bool forward);

  TApplication& app_;
  platform::WindowId handle_ = platform::kNoWindow;
  platform::WindowSpec design_;  // at 96 dpi
  int dpi_;
  std::unordered_map<platform::MessageId, MessageHandler> handlers_;
  std::vector<TControl*> controls_;  // in tab order
  TControl* active_control_ = nullptr;
  bool modal_ = false;
  // The last member: the window goes first, while the handlers it may still call exist.
  UniqueWindow window_;
};

}  // namespace framework
