#include <filesystem>
#include <stdexcept>
#include <utility>
#include <vector>

#include "TimerFixture.h"
#include "timer/TimerSwitches.h"

// The timer without the configuration window's controls must do exactly what it does with
// them: the same script runs once with controls from the start and once with none until
// the end, and every step must leave the same traces.

namespace {

// The rig with all that a step leaves behind.
class Rig : public TimerRig {
 public:
  using TimerRig::TimerRig;

  void Restore(const std::string& mode, const std::string& custom) {
    Store(mode, custom);
    modes->RestoreTimer();
  }
  std::string Traces(const std::string& error) {
    return "error '" + error + "'; ini '" + folder.Read(settings::kJbwIni) + "'; writes " +
           std::to_string(writes.Take()) + "; interval " + std::to_string(timer->Interval()) +
           "; restarts " + std::to_string(timer->Restarts()) + "; checked " + CheckedItem() +
           "; caption '" + m.SubMenuCustom->Caption() + "'; drawn " +
           std::to_string(modes->LastDrawn()) + "/" + std::to_string(modes->DrawnBefore()) +
           "; plays " + std::to_string(plays);
  }
  std::string Controls() const {
    std::string selected;
    for (QRadioButton* b : {c.RBtn2Mins, c.RBtn5Mins, c.RBtnRandom, c.RBtnCustom}) {
      if (b->isChecked()) selected += b->objectName().toStdString() + " ";
    }
    return std::string("On ") + (c.CBTimer->isChecked() ? "checked" : "unchecked") + "; selected " +
           selected + "; field '" + c.EditTimer->Text() + "'";
  }
};

using Step = std::pair<const char*, std::function<void(Rig&)>>;

const std::vector<Step>& Script() {
  static const std::vector<Step> steps = {
      {"restore Custom 7", [](Rig& r) { r.Restore("Custom", "7"); }},
      {"expiry", [](Rig& r) { r.timer->Fire(); }},
      {"tray Random", [](Rig& r) { r.m.SubMenuRandom->Click(); }},
      {"expiry", [](Rig& r) { r.timer->Fire(); }},
      {"expiry", [](Rig& r) { r.timer->Fire(); }},
      {"restore Off ' 5'", [](Rig& r) { r.Restore("Off", " 5"); }},
      {"tray Custom", [](Rig& r) { r.m.SubMenuCustom->Click(); }},
      {"tray Off", [](Rig& r) { r.m.SubMenuOff->Click(); }},
      {"On's handler", [](Rig& r) { r.modes->CBTimerClick(); }},
      {"restore Random 0", [](Rig& r) { r.Restore("Random", "0"); }},
      {"expiry", [](Rig& r) { r.timer->Fire(); }},
      {"restore 5Mins -3", [](Rig& r) { r.Restore("5Mins", "-3"); }},
      {"restore 2Mins abc", [](Rig& r) { r.Restore("2Mins", "abc"); }},
      {"tray Random", [](Rig& r) { r.m.SubMenuRandom->Click(); }},
      {"restore Custom +7", [](Rig& r) { r.Restore("Custom", "+7"); }},
      {"restore Custom 150", [](Rig& r) { r.Restore("Custom", "150"); }},
      {"tray 5Mins", [](Rig& r) { r.m.SubMenu5Mins->Click(); }},
      {"restore Custom 05", [](Rig& r) { r.Restore("Custom", "05"); }},
      {"tray Off", [](Rig& r) { r.m.SubMenuOff->Click(); }},
      {"tray 2Mins, saves failing",
       [](Rig& r) {
         const std::string folder = std::exchange(r.state.appFolder, r.folder.Path() + "gone/");
         std::exception_ptr error;
         try {
           r.m.SubMenu2Mins->Click();
         } catch (...) {
           error = std::current_exception();
         }
         r.state.appFolder = folder;
         if (error) std::rethrow_exception(error);
       }},
      {"restore with no file",
       [](Rig& r) {
         std::filesystem::remove(r.folder.File(settings::kJbwIni));
         r.modes->RestoreTimer();
       }},
      {"restore Off 12", [](Rig& r) { r.Restore("Off", "12"); }},
      {"On's handler", [](Rig& r) { r.modes->CBTimerClick(); }},
      {"Random's handler", [](Rig& r) { r.modes->RBtnRandomClick(); }},
      {"expiry", [](Rig& r) { r.timer->Fire(); }},
      {"field's handler", [](Rig& r) { r.modes->EditTimerChange(); }},
      {"restore Random 9", [](Rig& r) { r.Restore("Random", "9"); }},
      {"attach", [](Rig& r) { r.AttachLate(); }},
      // From here on the controls do the work in both runs.
      {"user clicks On", [](Rig& r) { r.c.CBTimer->click(); }},
      {"user clicks Five Minutes", [](Rig& r) { r.c.RBtn5Mins->click(); }},
      {"tray Custom", [](Rig& r) { r.m.SubMenuCustom->Click(); }},
      {"restore Random 4", [](Rig& r) { r.Restore("Random", "4"); }},
  };
  return steps;
}

std::vector<std::string> RunScript(bool controls) {
  rtl::RandSeed(20261209);
  Rig rig(controls);
  std::vector<std::string> traces;
  for (const auto& [name, step] : Script()) {
    std::string error;
    try {
      step(rig);
    } catch (const std::exception& e) {
      error = e.what();
    }
    traces.push_back(std::string(name) + ": " + rig.Traces(error));
    if (std::string(name) == "attach") traces.push_back("shown: " + rig.Controls());
  }
  traces.push_back("shown at the end: " + rig.Controls());
  return traces;
}

TEST(TimerWithoutControlsTest, RunsTheScriptAsTheControlsDo) {
  const std::vector<std::string> withControls = RunScript(true);
  const std::vector<std::string> without = RunScript(false);
  ASSERT_EQ(withControls.size(), without.size());
  for (size_t i = 0; i < withControls.size(); ++i) EXPECT_EQ(without[i], withControls[i]);

  // The script reaches the cases it is about.
  const auto has = [&](const std::string& text) {
    for (const std::string& line : without) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_TRUE(has("error ''abc' is not a valid integer value'"));
  EXPECT_FALSE(has("saves failing: error ''"));
  EXPECT_TRUE(has("caption 'Custom:  5 Mins'"));
  EXPECT_TRUE(has("caption 'Custom:  7 Mins'"));
  EXPECT_TRUE(has("SetCustom=1\r\n"));
  EXPECT_TRUE(has("shown: On checked; selected RBtnRandom ; field '9'"));
}

TEST(TimerWithoutControlsTest, LateControlsShowTheHeldModeAndRunNoHandler) {
  Rig rig(false);
  rig.Restore("Off", "42");
  rig.m.SubMenu5Mins->Click();
  rig.writes.Take();
  const int restarts = rig.timer->Restarts();
  rig.AttachLate();
  EXPECT_EQ(rig.Controls(), "On checked; selected RBtn5Mins ; field '42'");
  EXPECT_EQ(rig.writes.Take(), 0);
  EXPECT_EQ(rig.timer->Restarts(), restarts);

  // The controls now carry the mode both ways.
  rig.c.RBtnCustom->click();
  EXPECT_EQ(rig.timer->Interval(), 42 * 60000);
  rig.m.SubMenuOff->Click();
  EXPECT_FALSE(rig.c.CBTimer->isChecked());
}

// The switches on their own, where a change may come from outside any handler.
class SwitchesTest : public ::testing::TestWithParam<bool> {
 protected:
  static constexpr timer::TTimerSwitches::Radio kCustom = &timer::TTimerControls::RBtnCustom;

  SwitchesTest() {
    if (GetParam()) {
      c = timer::CreateTimerControls(&window);
      sw.Attach(c);
    }
    sw.WhenSelected(kCustom, [this] {
      const timer::TTimerSwitches::Nesting nest(sw);
      log.push_back("custom");
      sw.SetField("99");
      log.push_back("custom goes on");
    });
    sw.WhenFieldChanges([this] {
      log.push_back("field '" + sw.Field() + "'");
      if (sw.Field() == "99") throw std::runtime_error("too long");
    });
  }

  bool appReady = (EnsureToolkitApp(), true);
  QWidget window;
  timer::TTimerControls c;
  timer::TTimerSwitches sw;
  tk::ScriptedDialogs dialogs;
  std::vector<std::string> log;
};

TEST_P(SwitchesTest, ANestedErrorEndsTheOuterHandlerAndReachesTheGuardOrTheCaller) {
  // A button's handler runs behind the signal guard, which reports the error.
  sw.Select(kCustom);
  EXPECT_EQ(log, (std::vector<std::string>{"custom", "field '99'"}));
  EXPECT_EQ(dialogs.Texts(tk::ScriptedDialogs::Kind::Error), std::vector<std::string>{"too long"});
  EXPECT_TRUE(sw.Selected(kCustom));

  // The field's handler raises to whoever set the text.
  sw.SetField("5a");
  EXPECT_THROW(sw.SetField("99"), std::runtime_error);
  EXPECT_EQ(sw.Field(), "99");
  EXPECT_EQ(log.back(), "field '99'");
  EXPECT_EQ(log.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutControls, SwitchesTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Attached" : "Held"; });

// The held field and the real one must never disagree on a text.
TEST(FieldTextTest, MatchesWhatTheFieldShows) {
  EnsureToolkitApp();
  QWidget window;
  timer::TTimerEdit edit(&window);
  for (const char* text :
       {"", "3", "42", "123", " 5", "a5", "5a", "-3", "+7", "0", "00", "ab", " ", "  ", "9 "}) {
    edit.SetText(text);
    EXPECT_EQ(timer::FieldText(text), edit.Text()) << "'" << text << "'";
  }
}

}  // namespace
