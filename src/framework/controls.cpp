#include "framework/controls.h"

#include <stdexcept>

#include "framework/application.h"
#include "framework/form.h"

namespace framework {
namespace {

// Control ids follow the tab order, so that they are unique within a form.
constexpr int kFirstControlId = 100;

}  // namespace

TControl::TControl(TForm& parent, platform::WindowKind kind, const ControlSpec& spec)
    : parent_(parent), control_id_(kFirstControlId + spec.tab_order) {
  platform::WindowSpec window;
  window.kind = kind;
  window.parent = parent.Handle();
  window.caption = spec.caption;
  window.left = spec.left;
  window.top = spec.top;
  window.width = spec.width;
  window.height = spec.height;
  window.control_id = control_id_;
  const platform::WindowId id = Windowing().NewWindow(window, nullptr);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create control " + spec.caption);
  window_ = OwnedWindow(Windowing(), id);
}

platform::Windowing& TControl::Windowing() const {
  return parent_.Application().Windowing();
}

TCheckBox::TCheckBox(TForm& parent, const ControlSpec& spec, bool checked)
    : TControl(parent, platform::WindowKind::kCheckBox, spec) {
  SetChecked(checked);
}

bool TCheckBox::Checked() const {
  return Windowing().SendTo(Handle(), platform::kBmGetCheck, 0, 0) ==
         static_cast<platform::LResult>(platform::kBstChecked);
}

void TCheckBox::SetChecked(bool checked) {
  Windowing().SendTo(Handle(), platform::kBmSetCheck,
                     checked ? platform::kBstChecked : platform::kBstUnchecked, 0);
}

TButton::TButton(TForm& parent, const ControlSpec& spec)
    : TControl(parent, platform::WindowKind::kButton, spec) {}

TBevel::TBevel(TForm& parent, const ControlSpec& spec)
    : TControl(parent, platform::WindowKind::kBevel, spec) {}

}  // namespace framework
