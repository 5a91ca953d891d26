#include "framework/controls.h"

#include <stdexcept>

#include "framework/application.h"
#include "framework/form.h"
#include "framework/scaling.h"

namespace framework {
namespace {

// Control ids follow the tab order, so that they are unique within a form.
constexpr int kFirstControlId = 100;

platform::WindowSpec DesignOf(platform::WindowKind kind, const ControlSpec& desc,
                              platform::WindowId parent, int control_id) {
  platform::WindowSpec window;
  window.kind = kind;
  window.parent = parent;
  window.caption = desc.caption;
  window.left = desc.left;
  window.top = desc.top;
  window.width = desc.width;
  window.height = desc.height;
  window.control_id = control_id;
  return window;
}

}  // namespace

TControl::TControl(TForm& parent, platform::WindowKind kind, const ControlSpec& desc)
    : parent_(parent),
      tab_order_(desc.tab_order),
      control_id_(kFirstControlId + desc.tab_order),
      design_(DesignOf(kind, desc, parent.Handle(), control_id_)) {
  const platform::WindowId id = Windowing().NewWindow(AtDpi(design_, parent.Dpi()), nullptr);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create control " + desc.caption);
  window_ = UniqueWindow(parent_.Application(), id);
  listing_ = parent_.AddControl(*this);
}

void TControl::ApplyDpi(int dpi) {
  const platform::WindowSpec scaled = AtDpi(design_, dpi);
  Windowing().SetBounds(Handle(), BoundsOf(scaled));
  Windowing().SetFontHeight(Handle(), scaled.font_height);
  ScaleParts(dpi);
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

void TCheckBox::Clicked() {
  if (OnClick) OnClick();
}

void TButton::Clicked() {
  if (OnClick) OnClick();
}

TCheckList::TCheckList(TForm& parent, const ControlSpec& desc, std::vector<ListColumnSpec> columns)
    : TControl(parent, platform::WindowKind::kCheckList, desc), columns_(std::move(columns)) {
  for (const ListColumnSpec& column : columns_) {
    Windowing().AddListColumn(Handle(), column.caption, ScaleToDpi(column.width, parent.Dpi()));
  }
}

void TCheckList::AddRow(const std::vector<std::string>& cells, platform::RowCheck check) {
  Windowing().AddListRow(Handle(), cells, check);
}

bool TCheckList::Checked(std::size_t row) const {
  return Windowing().ListRowChecked(Handle(), row);
}

void TCheckList::ScaleParts(int dpi) {
  for (std::size_t column = 0; column < columns_.size(); ++column) {
    Windowing().SetListColumnWidth(Handle(), column, ScaleToDpi(columns_[column].width, dpi));
  }
}

TLabel::TLabel(TForm& parent, const ControlSpec& desc)
    : TControl(parent, platform::WindowKind::kLabel, desc) {}

void TLabel::SetText(const std::string& text) {
  Windowing().SetCaption(Handle(), text);
}

TBevel::TBevel(TForm& parent, const ControlSpec& desc)
    : TControl(parent, platform::WindowKind::kBevel, desc) {}

}  // namespace framework
