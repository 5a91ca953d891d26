#include "app/form1.h"

#include <memory>

#include "app/texts.h"
#include "framework/application.h"
#include "platform/text.h"

namespace app {
namespace {

// The main form lies wholly left of the screen for the moment it is shown at start; the edge is
// given when its window is created.
constexpr int kOffScreenLeft = -200;
constexpr int kClientWidth = 153;
constexpr int kClientHeight = 97;

framework::FormSpec MainFormSpec() {
  framework::FormSpec desc;
  desc.caption = "Tapwise Uninstall";
  desc.left = kOffScreenLeft;
  desc.client_width = kClientWidth;
  desc.client_height = kClientHeight;
  desc.ex_style = platform::kWsExDlgModalFrame;
  return desc;
}

framework::TMenuItem& AddItem(framework::TMenuItem& parent, const char* name, const char* caption) {
  return parent.Add(std::make_unique<framework::TMenuItem>(name, caption));
}

}  // namespace

TProgramMenuItem::TProgramMenuItem(std::string name, ProgramEntry program)
    : TMenuItem(std::move(name), text::EscapeAccessKeys(program.name), CaptionKind::kText),
      Program(std::move(program)) {}

TProcessMenuItem::TProcessMenuItem(std::string process_name)
    : TMenuItem("MyItem3", text::EscapeAccessKeys(process_name), CaptionKind::kText),
      ProcessName(std::move(process_name)) {}

TForm1::TForm1(framework::TApplication& app, ProgramState& state)
    : TForm(app, MainFormSpec()),
      ListBox1(app.Platform().order),
      ListBox2(app.Platform().order),
      LBP(app.Platform().order),
      PMenu1(app),
      Timer1(app, kAutoCloseMs),
      State(state) {
  BuildMenuTree();
  Timer1.OnTimer = [this] { Timer1Timer(); };
  OnMessage(kCmMenuClosed, [this](platform::WParam, platform::LParam) { CMMenuClosed(); });
}

TForm1::~TForm1() = default;

void TForm1::BuildMenuTree() {
  framework::TMenuItem& root = PMenu1.Items();
  All = &AddItem(root, "All", "All Programs");
  Recent1 = &AddItem(root, "Recent1", "Recent Programs");
  Recent1->Default = true;
  AddItem(root, "N4", "-");
  Kill = &AddItem(root, "Kill", "Kill Process");
  AddItem(root, "N1", "-");
  About1 = &AddItem(root, "About1", "Tapwise Uninstaller");
  Options1 = &AddItem(*About1, "Options1", "Options...");
  AddItem(*About1, "N3", "-");
  SubscribeforUpdates1 = &AddItem(*About1, "SubscribeforUpdates1", "Check for Updates");
  VistiWebPage1 = &AddItem(*About1, "VistiWebPage1", "Visit Web Site");
  SendEmail1 = &AddItem(*About1, "SendEmail1", "Send Message");
  AddItem(*About1, "N2", "-");
  About2 = &AddItem(*About1, "About2", "About...");
  Exit1 = &AddItem(root, "Exit1", "Exit");
  Options1->OnClick = [this](framework::TMenuItem&) { Options1Click(); };
  SubscribeforUpdates1->OnClick = [this](framework::TMenuItem&) { SubscribeforUpdates1Click(); };
  VistiWebPage1->OnClick = [this](framework::TMenuItem&) { VistiWebPage1Click(); };
  SendEmail1->OnClick = [this](framework::TMenuItem&) { SendEmail1Click(); };
  About2->OnClick = [this](framework::TMenuItem&) { About2Click(); };
  Exit1->OnClick = [this](framework::TMenuItem&) { Exit1Click(); };
}

}  // namespace app
