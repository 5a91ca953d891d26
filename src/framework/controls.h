#pragma once

// Child controls of a form. A control's state lives in its platform window.

#include <functional>
#include <string>
#include <vector>

#include "framework/form.h"
#include "framework/owned.h"
#include "platform/windowing.h"

namespace framework {

// A control as designed at 96 dpi, within its form's client area.
struct ControlSpec {
  std::string caption;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int tab_order = 0;
};

// A control registers with its form, which gives it the focus in tab order and hands it the
// clicks its window reports.
class TControl {
 public:
  TControl(TForm& parent, platform::WindowKind kind, const ControlSpec& desc);
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  platform::WindowId Handle() const { return window_.get(); }
  int ControlId() const { return control_id_; }
  int TabOrder() const { return tab_order_; }
  virtual bool TabStop() const { return true; }
  // Enter presses a button that has the focus; other controls ignore it.
  virtual bool PressedByReturn() const { return false; }
  // The control's window reported a click (mouse, or Space while it had the focus).
  virtual void Clicked() {}
  // Places the control and sizes its font for its form's new DPI.
  void ApplyDpi(int dpi);

 protected:
  platform::Windowing& Windowing() const;
  // What else a control scales when its DPI changes.
  virtual void ScaleParts(int /*dpi*/) {}

 private:
  TForm& parent_;
  int tab_order_;
  int control_id_;
  platform::WindowSpec design_;  // at 96 dpi
  UniqueWindow window_;
  // After the window: the control leaves its form's list before its window goes.
  TForm::ControlListing listing_;
};

class TCheckBox : public TControl {
 public:
  TCheckBox(TForm& parent, const ControlSpec& desc, bool checked);
  bool Checked() const;
  // Sets the box without a click: OnClick does not run.
  void SetChecked(bool checked);
  // After the user toggled the box.
  std::function<void()> OnClick;
  void Clicked() override;
};

class TButton : public TControl {
 public:
  TButton(TForm& parent, const ControlSpec& desc);
  std::function<void()> OnClick;
  bool PressedByReturn() const override { return true; }
  void Clicked() override;
};

// A check list's column as designed at 96 dpi.
struct ListColumnSpec {
  std::string caption;
  int width = 0;
};

// A list of rows with columns, each row checkable or not; checked rows are read when needed.
class TCheckList : public TControl {
 public:
  TCheckList(TForm& parent, const ControlSpec& desc, std::vector<ListColumnSpec> columns);
  void AddRow(const std::vector<std::string>& cells, platform::RowCheck check);
  bool Checked(std::size_t row) const;

 protected:
  void ScaleParts(int dpi) override;

 private:
  std::vector<ListColumnSpec> columns_;
};

// A line of text: drawn only, never focused.
class TLabel : public TControl {
 public:
  TLabel(TForm& parent, const ControlSpec& desc);
  bool TabStop() const override { return false; }
  void SetText(const std::string& text);
};

// A divider: drawn only, never focused.
class TBevel : public TControl {
 public:
  TBevel(TForm& parent, const ControlSpec& desc);
  bool TabStop() const override { return false; }
};

}  // namespace framework
