#pragma once

// Child controls of a form. A control's state lives in its platform window.

#include <functional>
#include <string>

#include "framework/owned.h"
#include "platform/windowing.h"

namespace framework {

class TForm;

struct ControlSpec {
  std::string caption;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int tab_order = 0;
};

class TControl {
 public:
  TControl(TForm& parent, platform::WindowKind kind, const ControlSpec& desc);
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  platform::WindowId Handle() const { return window_.get(); }
  int ControlId() const { return control_id_; }

 protected:
  platform::Windowing& Windowing() const;

 private:
  TForm& parent_;
  int control_id_;
  OwnedWindow window_;
};

class TCheckBox : public TControl {
 public:
  TCheckBox(TForm& parent, const ControlSpec& desc, bool checked);
  bool Checked() const;
  void SetChecked(bool checked);
};

class TButton : public TControl {
 public:
  TButton(TForm& parent, const ControlSpec& desc);
  std::function<void()> OnClick;
};

class TBevel : public TControl {
 public:
  TBevel(TForm& parent, const ControlSpec& desc);
};

}  // namespace framework
