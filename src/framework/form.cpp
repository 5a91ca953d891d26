#include "framework/form.h"

#include <stdexcept>

#include "framework/application.h"

namespace framework {

TForm::TForm(TApplication& app, const FormSpec& desc) : app_(app) {
  platform::WindowSpec window;
  window.kind = platform::WindowKind::kForm;
  window.parent = app.Handle();
  window.caption = desc.caption;
  window.left = desc.left;
  window.top = desc.top;
  window.width = desc.client_width;
  window.height = desc.client_height;
  window.style = desc.style;
  window.ex_style = desc.ex_style;
  const platform::WindowId id = Windowing().NewWindow(window, this);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create window " + desc.caption);
  handle_ = id;
  window_ = OwnedWindow(Windowing(), id);
}

TForm::~TForm() {
  if (app_.ActiveForm() == this) app_.SetActiveForm(nullptr);
  // The window goes while the handlers it may still call exist.
  window_.reset();
}

platform::Windowing& TForm::Windowing() const {
  return app_.Windowing();
}

void TForm::Show() {
  Windowing().ShowWindow(Handle(), platform::kSwShowNormalWindow);
}

void TForm::Hide() {
  Windowing().ShowWindow(Handle(), platform::kSwHideWindow);
}

void TForm::Close() {
  if (modal_) {
    ModalResult = kMrCancel;
    return;
  }
  if (app_.MainForm() == this) {
    app_.Terminate();
    return;
  }
  Hide();
}

int TForm::ShowModal() {
  // The program's other forms take no input while this one is shown.
  const platform::WindowId owner = app_.Handle();
  const bool owner_was_disabled = Windowing().EnableWindow(owner, false);
  modal_ = true;
  ModalResult = kMrNone;
  Show();
  app_.SetActiveForm(this);
  while (ModalResult == kMrNone) {
    app_.HandleMessage();
    if (app_.Terminated()) ModalResult = kMrCancel;
  }
  const int result = ModalResult;
  Windowing().EnableWindow(owner, !owner_was_disabled);
  Hide();
  modal_ = false;
  return result;
}

platform::LResult TForm::Perform(platform::MessageId id, platform::WParam wparam,
                                 platform::LParam lparam) {
  return WndProc(id, wparam, lparam);
}

platform::LResult TForm::WndProc(platform::MessageId id, platform::WParam wparam,
                                 platform::LParam lparam) {
  if (auto handler = handlers_.find(id); handler != handlers_.end()) {
    handler->second(wparam, lparam);
    return 0;
  }
  switch (id) {
    case platform::kWmActivate:
      if ((wparam & 0xFFFF) != platform::kWaInactive) {
        app_.SetActiveForm(this);
        Activate();
      }
      return 0;
    case platform::kWmClose:
      Close();
      return 0;
    default:
      return Windowing().DefaultProc(Handle(), id, wparam, lparam);
  }
}

platform::LResult TForm::HandleMessage(platform::WindowId window, platform::MessageId id,
                                       platform::WParam wparam, platform::LParam lparam) {
  // Messages arrive while the window is being created, before NewWindow has returned.
  if (handle_ == platform::kNoWindow) handle_ = window;
  return app_.Guarded([&] { return WndProc(id, wparam, lparam); });
}

}  // namespace framework
