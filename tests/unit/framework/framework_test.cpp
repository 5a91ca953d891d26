// The form framework over the simulated window system.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/command_pool.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "framework/timer.h"
#include "platform/sim/sim_platform.h"
#include "platform/text.h"

namespace {

TEST(CommandPool, ReusesNumbersGivenBack) {
  framework::CommandPool pool;
  const auto first = pool.Acquire();
  auto second = pool.Acquire();
  const auto third = pool.Acquire();
  EXPECT_EQ(first.get(), 1);
  EXPECT_EQ(second.get(), 2);
  EXPECT_EQ(third.get(), 3);
  second.reset();
  const auto reused = pool.Acquire();
  EXPECT_EQ(reused.get(), 2);
  EXPECT_EQ(pool.Acquire().get(), 4);
}

TEST(Timer, EnablingARunningTimerDoesNotRestartIt) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  framework::TApplication app(bound);
  app.Initialize();
  framework::TTimer timer(app, 3000);
  std::vector<std::int64_t> ticks;
  timer.OnTimer = [&] {
    ticks.push_back(sim.windows.Now());
    if (ticks.size() == 2) app.Terminate();
  };
  timer.SetEnabled(true);
  sim.windows.At(2000, [&] { timer.SetEnabled(true); });
  while (!app.Terminated()) app.HandleMessage();
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{3000, 6000}));
}

TEST(ErrorBox, AppendsAPeriodAfterTextEndingPastIt) {
  const struct {
    std::string what, shown;
  } cases[] = {{"Boom", "Boom."}, {"Boom.", "Boom."}, {"Boom!", "Boom!"},
               {"", ""},          {"x 1", "x 1."},    {"Stop-", "Stop-"}};
  for (const auto& c : cases) {
    sim::SimPlatform sim;
    platform::Platform bound = sim.Bind();
    framework::TApplication app(bound);
    app.Initialize();
    app.SetTitle("Tapwise Uninstaller");
    sim.windows.AnswerBox(platform::kIdOk);
    app.ShowException(std::runtime_error(c.what));
    ASSERT_EQ(sim.windows.Boxes().size(), 1u);
    EXPECT_EQ(sim.windows.Boxes()[0].text, c.shown);
    EXPECT_EQ(sim.windows.Boxes()[0].caption, "Tapwise Uninstaller");
    EXPECT_EQ(sim.windows.Boxes()[0].style, platform::kMbOk | platform::kMbIconError);
  }
}

// A modal form with one button that fails when pressed.
struct FailingDialog : framework::TForm {
  explicit FailingDialog(framework::TApplication& app)
      : TForm(app,
              framework::FormSpec{.caption = "Dialog", .client_width = 100, .client_height = 50}),
        Button(*this, framework::ControlSpec{"Go", 10, 10, 60, 20, 0}) {
    Button.OnClick = [] { throw std::runtime_error("Pressed"); };
  }
  framework::TButton Button;
};

TEST(ModalForm, AFailingButtonShowsTheErrorBoxAndTheFormStaysModal) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  framework::TApplication app(bound);
  app.Initialize();
  app.SetTitle("Tapwise Uninstaller");
  FailingDialog& dialog = app.CreateForm<FailingDialog>();
  sim::WindowSystem& ws = sim.windows;
  ws.At(100, [&] { ws.PressKey(platform::kVkReturn); });
  ws.At(200, [&] { ws.PressKey(platform::kVkSpace); });
  ws.AnswerBox(platform::kIdOk, 50);
  ws.AnswerBox(platform::kIdOk, 50);
  ws.At(1000, [&] {
    EXPECT_TRUE(dialog.Modal());
    EXPECT_FALSE(ws.IsEnabled(app.Handle()));
    ws.ClickCloseButton(dialog.Handle());
  });
  EXPECT_EQ(dialog.ShowModal(), framework::kMrCancel);

  ASSERT_EQ(ws.Boxes().size(), 2u) << "Enter and Space each pressed the button";
  EXPECT_EQ(ws.Boxes()[0].text, "Pressed.");
  EXPECT_TRUE(ws.IsEnabled(app.Handle()));
  EXPECT_FALSE(ws.IsVisible(dialog.Handle()));
}

TEST(ModalForm, ShownAfterTheEndWasRequestedClosesAtOnce) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  framework::TApplication app(bound);
  app.Initialize();
  FailingDialog& dialog = app.CreateForm<FailingDialog>();
  app.Terminate();
  app.HandleMessage();  // takes the quit message
  EXPECT_EQ(dialog.ShowModal(), framework::kMrCancel);
  EXPECT_TRUE(sim.windows.IsEnabled(app.Handle()));
}

// A form whose window fails as it is destroyed.
struct FailingTeardownForm : framework::TForm {
  FailingTeardownForm(framework::TApplication& app, std::function<void()> fail)
      : TForm(app, framework::FormSpec{.caption = "Teardown"}) {
    OnMessage(platform::kWmDestroy, [fail](platform::WParam, platform::LParam) { fail(); });
  }
};

// A bare window handler, outside the framework's guard.
struct FailingTeardownHandler : platform::WindowHandler {
  std::function<void()> fail;
  platform::LResult HandleMessage(platform::WindowId, platform::MessageId id, platform::WParam,
                                  platform::LParam) override {
    if (id == platform::kWmDestroy) fail();
    return 0;
  }
};

TEST(Teardown, AFailureWhileWindowsAreDestroyedNeverEscapes) {
  const auto runtime = [] { throw std::runtime_error("Gone"); };
  const auto foreign = [] { throw 7; };
  const struct {
    const char* name;
    std::function<void()> fail;
    bool bare;  // the window is not a form's but a bare handler's
    int answers;
    std::vector<std::string> boxes;
  } cases[] = {
      {"a form's failure goes to the box", runtime, false, 1, {"Gone."}},
      {"a form's failure whose box fails too", runtime, false, 0, {"Gone."}},
      {"a form's failure without text", foreign, false, 0, {}},
      {"a bare window's failure goes to the box", runtime, true, 1, {"Gone."}},
      {"a bare window's failure without text", foreign, true, 0, {}},
  };
  for (const auto& c : cases) {
    sim::SimPlatform sim;
    {
      platform::Platform bound = sim.Bind();
      FailingTeardownHandler handler;
      handler.fail = c.fail;
      framework::TApplication app(bound);
      app.Initialize();
      for (int i = 0; i < c.answers; ++i) sim.windows.AnswerBox(platform::kIdOk);
      if (c.bare) {
        const framework::UniqueWindow window(app, sim.windows.NewWindow({}, &handler));
      } else {
        app.CreateForm<FailingTeardownForm>(c.fail);
      }
    }
    EXPECT_TRUE(sim.windows.Windows().empty()) << c.name;
    std::vector<std::string> shown;
    for (const auto& box : sim.windows.Boxes()) shown.push_back(box.text);
    EXPECT_EQ(shown, c.boxes) << c.name;
  }
}

TEST(Text, ByteRules) {
  EXPECT_EQ(text::Pos(".EXE", "C:\\A.EXE\\B.EXE"), 5u);
  EXPECT_EQ(text::Pos("", "abc"), 0u);
  EXPECT_EQ(text::Pos("x", "abc"), 0u);
  EXPECT_EQ(text::UpperAscii("mäßig.exe"), "MäßIG.EXE");
  const struct {
    std::string name, extension;
  } extensions[] = {{"a.exe", ".exe"},   {"a.b.Exe", ".Exe"}, {"a", ""},
                    {"dir.d\\file", ""}, {"c:x", ""},         {".exe", ".exe"}};
  for (const auto& e : extensions) EXPECT_EQ(text::Extension(e.name), e.extension) << e.name;
  EXPECT_EQ(text::EscapeAccessKeys("A&B && C"), "A&&B &&&& C");
}

}  // namespace
