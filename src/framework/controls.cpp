#include "framework/controls.h"

#include <stdexcept>

#include "framework/application.h"
#include "framework/form.h"

namespace framework {
namespace {

// Control ids follow the tab order, so that they are unique within a form.
constexpr int kFirstControlId = 100;

}  // namespace

TControl::TControl(TForm& parent, platform::WindowKind kind, const ControlSpec& desc)
    : parent_(parent), tab_order_(desc.tab_order), control_id_(kFirstControlId + desc.tab_order) {
  platform::WindowSpec window;
  window.kind = kind;
  window.parent = parent.Handle();
  window.caption = desc.caption;
  window.left = desc.left;
  window.top = desc.top;
  window.width = desc.width;
  window.height = desc.height;
  window.control_id = control_id_;
  const platform::WindowId id = Windowing().NewWindow(window, nullptr);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create control " + desc.caption);
  window_ = OwnedWindow(parent_.Application(), id);
  parent_.AddControl(*this);
}

TControl::~TControl() {
  parent_.RemoveControl(*this);
}

platform::Windowing& TControl::Windowing() const {
  return parent_.Application().Windowing();
}

TCheckBox::TCheckBox(TForm& parent, const ControlSpec& desc, bool checked)
    : TControl(parent, platform::WindowKind::kCheckBox, desc) {
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

TButton::TButton(TForm& parent, const ControlSpec& desc)
    : TControl(parent, platform::WindowKind::kButton, desc) {}

void TButton::Clicked() {
  if (OnClick) OnClick();
}

TBevel::TBevel(TForm& parent, const ControlSpec& desc)
    : TControl(parent, platform::WindowKind::kBevel, desc) {}

}  // namespace framework
