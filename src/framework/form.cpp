#include "framework/form.h"

#include <algorithm>
#include <stdexcept>

#include "framework/application.h"
#include "framework/controls.h"
#include "framework/scaling.h"

namespace framework {

namespace {

platform::WindowSpec DesignOf(const FormSpec& desc, platform::WindowId owner) {
  platform::WindowSpec window;
  window.kind = platform::WindowKind::kForm;
  window.parent = owner;
  window.caption = desc.caption;
  window.left = desc.left;
  window.top = desc.top;
  window.width = desc.client_width;
  window.height = desc.client_height;
  window.style = desc.style;
  window.ex_style = desc.ex_style;
  window.centered = desc.centered;
  return window;
}

}  // namespace

TForm::TForm(TApplication& app, const FormSpec& desc)
    : app_(app), design_(DesignOf(desc, app.Handle())), dpi_(Windowing().Dpi(platform::kNoWindow)) {
  const platform::WindowId id = Windowing().NewWindow(AtDpi(design_, dpi_), this);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create window " + desc.caption);
  handle_ = id;
  window_ = UniqueWindow(app, id);
}

TForm::~TForm() {
  if (app_.ActiveForm() == this) app_.SetActiveForm(nullptr);
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
  // The program's other windows take no input while this one is shown.
  const std::vector<platform::WindowId> disabled = app_.DisableWindowsExcept(*this);
  modal_ = true;
  ModalResult = kMrNone;
  Show();
  app_.SetActiveForm(this);
  // Once the end of the program is requested the form closes as cancelled, even when that
  // was before it was shown.
  while (ModalResult == kMrNone) {
    if (app_.Terminated()) {
      ModalResult = kMrCancel;
      break;
    }
    app_.HandleMessage();
  }
  const int result = ModalResult;
  RememberFocus();
  // The others are enabled before this one hides, so that the activation can go back to them.
  for (platform::WindowId window : disabled) Windowing().EnableWindow(window, true);
  Hide();
  modal_ = false;
  return result;
}

TForm::ControlListing TForm::AddControl(TControl& control) {
  const auto at = std::upper_bound(
      controls_.begin(), controls_.end(), &control,
      [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
  controls_.insert(at, &control);
  return ControlListing(*this, &control);
}

void TForm::RemoveControl(TControl* control) noexcept {
  std::erase(controls_, control);
  if (active_control_ == control) active_control_ = nullptr;
}

TControl* TForm::ControlOf(platform::WindowId window) const {
  for (TControl* control : controls_) {
    if (control->Handle() == window) return control;
  }
  return nullptr;
}

bool TForm::OwnsWindow(platform::WindowId window) const {
  return window == Handle() || ControlOf(window) != nullptr;
}

std::vector<TControl*> TForm::TabStops() const {
  std::vector<TControl*> stops;
  std::copy_if(controls_.begin(), controls_.end(), std::back_inserter(stops),
               [](const TControl* control) { return control->TabStop(); });
  return stops;
}

void TForm::FocusActiveControl() {
  if (active_control_ == nullptr) {
    const std::vector<TControl*> stops = TabStops();
    if (stops.empty()) return;
    active_control_ = stops.front();
  }
  Windowing().SetFocus(active_control_->Handle());
}

void TForm::RememberFocus() {
  TControl* focused = ControlOf(Windowing().GetFocus());
  if (focused != nullptr && focused->TabStop()) active_control_ = focused;
}

void TForm::SelectNext(bool forward) {
  const std::vector<TControl*> stops = TabStops();
  if (stops.empty()) return;
  RememberFocus();
  // From no focused stop the first one is taken; otherwise the neighbour, wrapping round.
  const std::size_t count = stops.size();
  const auto current = std::find(stops.begin(), stops.end(), active_control_);
  std::size_t index = 0;
  if (current != stops.end()) {
    const std::size_t at = static_cast<std::size_t>(current - stops.begin());
    index = forward ? (at + 1) % count : (at + count - 1) % count;
  }
  active_control_ = stops[index];
  Windowing().SetFocus(active_control_->Handle());
}

bool TForm::DialogKey(const platform::Message& message) {
  if (message.id != platform::kWmKeyDown || !OwnsWindow(message.window)) return false;
  switch (message.wparam) {
    case platform::kVkTab:
      SelectNext(!Windowing().ShiftDown());
      return true;
    case platform::kVkReturn:
      if (TControl* focused = ControlOf(Windowing().GetFocus());
          focused != nullptr && focused->PressedByReturn()) {
        focused->Clicked();
      }
      return true;
    case platform::kVkEscape:
      Escaped();
      return true;
    default:
      return false;
  }
}

void TForm::ApplyDpi(int dpi, const platform::Rect& suggested) {
  dpi_ = dpi;
  Windowing().SetBounds(Handle(), suggested);
  Windowing().SetFontHeight(Handle(), AtDpi(design_, dpi).font_height);
  for (TControl* control : controls_) control->ApplyDpi(dpi);
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
      if (platform::LoWord(wparam) == platform::kWaInactive) {
        RememberFocus();
        return 0;
      }
      app_.SetActiveForm(this);
      FocusActiveControl();
      Activate();
      return 0;
    case platform::kWmSetFocus:
      // The form passes the focus on to its control, as a dialog does.
      FocusActiveControl();
      return 0;
    case platform::kWmCommand:
      if (TControl* control = ControlOf(static_cast<platform::WindowId>(lparam));
          control != nullptr && platform::HiWord(wparam) == platform::kBnClicked) {
        control->Clicked();
      }
      return 0;
    case platform::kWmClose:
      Close();
      return 0;
    case platform::kWmDpiChanged:
      // Both words carry the same DPI. The frame the system suggests keeps the window under
      // the pointer that dragged it across.
      if (lparam == 0) return 0;
      ApplyDpi(platform::LoWord(wparam), *reinterpret_cast<const platform::Rect*>(lparam));
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
