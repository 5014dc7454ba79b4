// A long run of the whole program in one process, with the event loop running: plays of
// unit clips and external files through the tray menu, menu rebuilds through the
// editors' OK, and the random-play timer expiring again and again (its interval cut to
// 1 ms each time). Resident memory is printed as it goes. Any box other than the editors'
// "Save Changes?" fails the run; under the asan preset the sanitizers and the leak
// checker at exit fail it too.
//
//   jbw_soak [--plays=N] [--rebuilds=N] [--fires=N]
//   (or JBW_SOAK_PLAYS, JBW_SOAK_REBUILDS, JBW_SOAK_FIRES; defaults 10000, 1000, 600)

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/Ad.h"
#include "app/AppFolder.h"
#include "app/Config.h"
#include "app/Splash.h"
#include "editors/DLLs.h"
#include "editors/EditorContext.h"
#include "editors/External.h"
#include "platform/CallbackGuard.h"
#include "platform/SoundOutput.h"
#include "platform/WindowHandles.h"
#include "sounds/PlaySoundThread.h"
#include "support/QtTestApp.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "tray/wkTray.h"

#include <QPushButton>
#include <QToolButton>

// fontconfig keeps its cache until exit; the leak checker would count it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

QtMessageHandler qtHandler = nullptr;

// The offscreen platform says this for every window brought to the front.
void QuietQt(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == "This plugin does not support raise()") return;
  if (qtHandler) {
    qtHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  }
}

using Clock = std::chrono::steady_clock;

long RssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

int Setting(int argc, char** argv, const char* flag, const char* env, int fallback) {
  const std::string prefix = std::string("--") + flag + "=";
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0)
      return std::atoi(argv[i] + prefix.size());
  if (const char* value = std::getenv(env)) return std::atoi(value);
  return fallback;
}

std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

// Two layouts of each settings file; a rebuild switches one of them.
struct Layouts {
  std::string tones = SOAK_TONE_DIR;
  std::string damaged;

  std::string Units(int layout) const {
    if (layout == 0)
      return "[Settings]\nNumberOfBSUs=2\n[BSU-List]\n1=" SOAK_UNIT_A "\n2=" SOAK_EMPTY_UNIT "\n";
    return "[Settings]\nNumberOfBSUs=3\n[BSU-List]\n1=" SOAK_UNIT_B "\n2=" SOAK_UNIT_A
           "\n3=" SOAK_EMPTY_UNIT "\n";
  }
  static int UnitClips(int layout) { return layout == 0 ? 3 + 10 : 2 + 3 + 10; }
  static int UnitMenus(int layout) { return layout == 0 ? 2 : 3; }

  // A missing file and a damaged one give the chime.
  std::string Externals(int layout) const {
    if (layout == 0)
      return "[Settings]\nNumberOfSounds=4\n[Sound-List]\n1=" + tones +
             "/low.wav\n2=/no/such.wav\n3=" + damaged + "\n4=" + tones +
             "/high.wav\n[Sound-Menu]\n1=Low\n2=Gone\n3=Broken\n4=High\n";
    return "[Settings]\nNumberOfSounds=2\n[Sound-List]\n1=" + tones + "/mid.wav\n2=" + damaged +
           "\n[Sound-Menu]\n1=Mid\n2=Broken\n";
  }
  static int ExternalCount(int layout) { return layout == 0 ? 4 : 2; }
};

class Soak {
 public:
  Soak(int plays, int rebuilds, int fires)
      : plays_(plays), rebuilds_(rebuilds), fires_(fires), started_(Clock::now()) {}

  int Run() {
    qtHandler = qInstallMessageHandler(QuietQt);
    EnsureToolkitApp();
    platform::SetCallbackGuard([](const std::function<void()>& callback) { tk::Guard(callback); });

    app::SetApplicationFolderForTests(folder_.Path());
    folder_.Write("registry.ini", "[Software\\Grindlewood]\r\nBrakken=Installed\r\n");
    ::setenv("JBW_REGISTRY_FILE", folder_.File("registry.ini").c_str(), 1);
    layouts_.damaged = folder_.File("damaged.wav");
    folder_.Write("damaged.wav",
                  std::string("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01", 21) +
                      std::string(64, '\x7f'));
    folder_.Write("BSUs.ini", Crlf(layouts_.Units(0)));
    folder_.Write("External.ini", Crlf(layouts_.Externals(0)));

    tk::SetMenuPresenter([this](tk::TPopupMenu&, int, int) -> tk::TMenuItem* {
      ++popups_;
      return std::exchange(choice_, nullptr);
    });

    const long rssBefore = RssKb();
    config_ = std::make_unique<app::TFormConfig>(nullptr);
    editors::TEditorContext context;
    context.state = &config_->State();
    context.readSettings = [this](tk::TComponent* sender) { config_->ReadSettings(sender); };
    context.showConfig = [this] { config_->Show(); };
    external_ = std::make_unique<editors::TFormExternal>(nullptr, context);
    dlls_ = std::make_unique<editors::TFormDLLs>(nullptr, context);
    config_->SetEditors(external_.get(), dlls_.get());
    config_->FormSplash->Timer->Fire();  // the product is installed: no advert
    if (!config_->PopupMenu->AutoPopup()) Fail("the tray menu is still shut after the splash");

    tk::TTimer& timer = *config_->Timer;
    tk::TNotifyEvent onTimer = timer.OnTimer;
    timer.OnTimer = [this, onTimer](tk::TComponent* sender) {
      onTimer(sender);
      TimerExpired();
    };

    rssStart_ = RssKb();
    std::printf("soak: %d plays, %d rebuilds, %d timer expiries\n", plays_, rebuilds_, fires_);
    std::printf("rss: before the windows %ld kB, start %ld kB\n", rssBefore, rssStart_);
    std::fflush(stdout);

    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
      if (Clock::now() - lastStep_ > std::chrono::seconds(30)) Fail("no progress for 30 s");
    });
    watchdog.start(1000);
    lastStep_ = Clock::now();
    QTimer::singleShot(0, [this] { Step(); });
    tk::Application().Run();
    watchdog.stop();

    const long rssEnd = rssEnd_ > 0 ? rssEnd_ : RssKb();
    dlls_.reset();
    external_.reset();
    config_.reset();
    tk::SetMenuPresenter({});
    app::SetApplicationFolderForTests("");
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    std::printf("rss: start %ld kB, middle %ld kB, end %ld kB, after teardown %ld kB\n", rssStart_,
                rssMiddle_, rssEnd, RssKb());
    std::printf(
        "done: %d plays, %d rebuilds, %d timer expiries (%d unplanned), %d menu opens, "
        "most play threads at once %d, %.1f s\n",
        played_, rebuilt_, fired_, unplannedFires_, popups_, mostThreads_, seconds);
    std::printf("%s\n", failed_ ? "SOAK FAILED" : "soak passed");
    return failed_ ? 1 : 0;
  }

 private:
  void Fail(const std::string& why) {
    if (!failed_) std::printf("FAIL: %s\n", why.c_str());
    std::fflush(stdout);
    failed_ = true;
    tk::Application().Terminate();
  }

  // Chooses `item` in the tray menu: a right-click on the icon opens the menu, the
  // presenter answers with the item, and the menu runs its click action.
  void Choose(tk::TMenuItem* item) {
    choice_ = item;
    const int before = popups_;
    platform::SendMessageA(config_->Handle(), tray::TwkTray::TrayCallbackMessage,
                           config_->wkTray->TrayID(), platform::WM_RBUTTONDOWN);
    if (popups_ != before + 1) Fail("the tray menu did not open for \"" + item->Caption() + "\"");
    choice_ = nullptr;
  }

  bool CheckBoxes() {
    for (const auto& call : dialogs_.calls) {
      if (call.kind == tk::ScriptedDialogs::Kind::Confirm && call.text == "Save Changes?") continue;
      Fail("a box was shown: \"" + call.text + "\"");
      return false;
    }
    return true;
  }

  int Total() const { return plays_ + rebuilds_ + fires_; }
  int Done() const { return played_ + rebuilt_ + fired_; }

  // One piece of work, then back to the event loop. The kind furthest behind its share
  // goes next, so the three run interleaved to the end.
  void Step() {
    if (failed_) return;
    lastStep_ = Clock::now();
    if (!CheckBoxes()) return;
    Report();
    if (Done() >= Total()) {
      Finish();
      return;
    }
    auto share = [this](int done, int total) {
      return total > 0 ? static_cast<double>(done) / total : 2.0;
    };
    const double p = share(played_, plays_), r = share(rebuilt_, rebuilds_),
                 f = share(fired_, fires_);
    if (f <= p && f <= r) {
      Expire();  // the next step follows the expiry
      return;
    }
    if (r <= p) {
      Rebuild();
    } else {
      Play();
    }
    // Now and then a short pause, so that clips play on for a while.
    QTimer::singleShot(played_ % 100 == 0 ? 20 : 0, [this] { Step(); });
  }

  void Report() {
    const int total = Total(), done = Done();
    const int tenth = std::max(1, total / 10);
    if (done % tenth != 0 || done == lastReport_) return;
    lastReport_ = done;
    const long rss = RssKb();
    if (rssMiddle_ < 0 && done >= total / 2) rssMiddle_ = rss;
    std::printf("rss: %5d/%d done (%d plays, %d rebuilds, %d expiries) %ld kB, %.0f s\n", done,
                total, played_, rebuilt_, fired_, rss,
                std::chrono::duration<double>(Clock::now() - started_).count());
    std::fflush(stdout);
  }

  // Unit clips and external sounds by turns, each kind in menu order.
  void Play() {
    std::vector<tk::TMenuItem*> entries;
    const bool unit = played_ % 2 == 0;
    tk::TMenuItem* root = config_->PopupMenu->Items();
    if (unit) {
      for (int i = 6; i < root->Count(); ++i)
        for (int j = 0; j < root->Items(i)->Count(); ++j)
          entries.push_back(root->Items(i)->Items(j));
    } else {
      for (int j = 0; j < config_->MenuExternal->Count(); ++j)
        entries.push_back(config_->MenuExternal->Items(j));
    }
    if (entries.empty()) return Fail(unit ? "no unit clips in the menu" : "no external sounds");
    int& next = unit ? nextUnit_ : nextExternal_;
    Choose(entries[next++ % entries.size()]);
    ++played_;
    mostThreads_ = std::max(mostThreads_, sounds::TPlaySoundThread::Alive());
  }

  // What an editor's OK does after the user changed its file: the configuration window
  // from the tray menu, the editor, OK, then Done and the advert's end.
  void Rebuild() {
    const bool units = rebuilt_ % 2 == 1;
    if (units) {
      unitLayout_ = 1 - unitLayout_;
      folder_.Write("BSUs.ini", Crlf(layouts_.Units(unitLayout_)));
    } else {
      externalLayout_ = 1 - externalLayout_;
      folder_.Write("External.ini", Crlf(layouts_.Externals(externalLayout_)));
    }
    Choose(config_->MenuConfig);
    if (!config_->Visible()) return Fail("Configuration did not show its window");
    dialogs_.confirmAnswers = {true};
    if (units) {
      config_->BtnDLLs->click();
      dlls_->BtnOK->click();
    } else {
      config_->BtnExternal->click();
      external_->BntOK->click();
    }
    if (!dialogs_.confirmAnswers.empty()) return Fail("the editor's OK did not ask to save");
    config_->BtnDone->click();
    config_->FormAd->Timer->Fire();
    if (!config_->PopupMenu->AutoPopup()) return Fail("the tray menu stayed shut after Done");
    ++rebuilt_;

    const size_t sounds =
        1 + Layouts::UnitClips(unitLayout_) + Layouts::ExternalCount(externalLayout_);
    const int menus = 6 + Layouts::UnitMenus(unitLayout_);
    if (config_->State().soundList.size() != sounds ||
        config_->PopupMenu->Items()->Count() != menus ||
        config_->MenuExternal->Count() != Layouts::ExternalCount(externalLayout_))
      Fail("rebuild " + std::to_string(rebuilt_) + " gave " +
           std::to_string(config_->State().soundList.size()) + " sounds and " +
           std::to_string(config_->PopupMenu->Items()->Count()) + " menus");
    if (CheckBoxes()) dialogs_.calls.clear();
  }

  // Every 50 expiries the mode changes through the tray's Timer submenu; then the
  // countdown is cut to 1 ms and the loop runs until the timer expires.
  void Expire() {
    const timer::TTimerMenu& menu = config_->TimerMenu;
    if (fired_ % 50 == 0) {
      tk::TMenuItem* modes[] = {menu.SubMenuRandom, menu.SubMenu2Mins, menu.SubMenu5Mins};
      Choose(modes[(fired_ / 50) % 3]);
    }
    tk::TTimer& timer = *config_->Timer;
    if (timer.Interval() <= 0) return Fail("the timer mode left no interval");
    modeInterval_ = timer.Interval();
    awaitingExpiry_ = true;
    timer.SetInterval(1);
  }

  void TimerExpired() {
    if (!awaitingExpiry_) {
      ++unplannedFires_;
      return;
    }
    awaitingExpiry_ = false;
    ++fired_;
    // The fixed modes keep the cut interval; the random mode has drawn a new one.
    tk::TTimer& timer = *config_->Timer;
    if (timer.Interval() == 1) timer.SetInterval(modeInterval_);
    QTimer::singleShot(0, [this] { Step(); });
  }

  void Finish() {
    rssEnd_ = RssKb();
    if (rssMiddle_ < 0) rssMiddle_ = rssEnd_;
    // Cut off what plays and let the play threads end before the windows go.
    platform::PlaySoundA(nullptr, nullptr, 0);
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (sounds::TPlaySoundThread::Alive() > 0 && Clock::now() < deadline) {
      tk::Application().ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (sounds::TPlaySoundThread::Alive() > 0) Fail("play threads still running after 30 s");
    config_->Timer->SetInterval(0);
    tk::Application().Terminate();
  }

  const int plays_, rebuilds_, fires_;
  const Clock::time_point started_;
  TempFolder folder_;
  tk::ScriptedDialogs dialogs_;
  Layouts layouts_;
  std::unique_ptr<app::TFormConfig> config_;
  std::unique_ptr<editors::TFormExternal> external_;
  std::unique_ptr<editors::TFormDLLs> dlls_;

  tk::TMenuItem* choice_ = nullptr;
  int popups_ = 0;
  int played_ = 0, rebuilt_ = 0, fired_ = 0, unplannedFires_ = 0;
  int nextUnit_ = 0, nextExternal_ = 0;
  int unitLayout_ = 0, externalLayout_ = 0;
  int mostThreads_ = 0;
  int modeInterval_ = 0;
  bool awaitingExpiry_ = false;
  bool failed_ = false;
  int lastReport_ = -1;
  long rssStart_ = -1, rssMiddle_ = -1, rssEnd_ = -1;
  Clock::time_point lastStep_;
};

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  const int plays = Setting(argc, argv, "plays", "JBW_SOAK_PLAYS", 10000);
  const int rebuilds = Setting(argc, argv, "rebuilds", "JBW_SOAK_REBUILDS", 1000);
  const int fires = Setting(argc, argv, "fires", "JBW_SOAK_FIRES", 600);
  return Soak(plays, rebuilds, fires).Run();
}
