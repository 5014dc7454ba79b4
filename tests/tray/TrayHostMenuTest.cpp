// The tray menu on a StatusNotifierItem host, played here by a second bus connection that
// owns the watcher name and calls the item and its menu as a panel would. Runs on a
// private session bus (dbus-run-session).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPixmap>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ShellRecorder.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "platform/WindowHandles.h"
#include "platform/linux/tray/DBusTrayTypes.h"
#include "toolkit/Form.h"
#include "tray/wkTray.h"

using platform::DBusMenuLayout;
using tray::TwkTray;

namespace {

// The host's side: the watcher the item registers with, and the calls a panel makes.
class FakeHost : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)

 public:
  FakeHost() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host")) {}
  ~FakeHost() override { Stop(); }

  void Start() {
    bus_.registerObject("/StatusNotifierWatcher", this,
                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
    ASSERT_TRUE(bus_.registerService("org.kde.StatusNotifierWatcher"));
  }
  void Stop() {
    bus_.unregisterService("org.kde.StatusNotifierWatcher");
    bus_.unregisterObject("/StatusNotifierWatcher");
  }

  QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                    const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(items.back(), path, interface, method);
    call.setArguments(args);
    // Our own process answers, so the wait must keep its event loop running.
    return bus_.call(call, QDBus::BlockWithGui);
  }

  DBusMenuLayout Layout() {
    const QDBusMessage reply =
        Call("/MenuBar", "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()});
    DBusMenuLayout layout;
    if (reply.arguments().size() == 2) {
      qvariant_cast<QDBusArgument>(reply.arguments().at(1)) >> layout;
    }
    return layout;
  }

  void Click(int id) {
    Call("/MenuBar", "com.canonical.dbusmenu", "Event",
         {id, QString("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
  }

  bool ItemOnBus() { return bus_.interface()->isServiceRegistered(items.back()); }
  bool HostRegistered() const { return true; }

  // Counts the layout changes the item announces.
  void FollowLayout() {
    bus_.connect(items.back(), "/MenuBar", "com.canonical.dbusmenu", "LayoutUpdated", this,
                 SLOT(LayoutUpdated()));
  }

  // Some hosts read an entry's properties once and then follow only this signal.
  void FollowProperties() {
    bus_.connect(items.back(), "/MenuBar", "com.canonical.dbusmenu", "ItemsPropertiesUpdated", this,
                 SLOT(PropertiesUpdated(QDBusMessage)));
  }

  std::vector<QString> items;
  std::vector<platform::DBusMenuItem> propertyUpdates;
  int layoutUpdates = 0;

 public Q_SLOTS:
  void RegisterStatusNotifierItem(const QString& service) { items.push_back(service); }
  void LayoutUpdated() { ++layoutUpdates; }
  void PropertiesUpdated(const QDBusMessage& message) {
    QList<platform::DBusMenuItem> updated;
    qvariant_cast<QDBusArgument>(message.arguments().at(0)) >> updated;
    propertyUpdates.insert(propertyUpdates.end(), updated.begin(), updated.end());
  }

 private:
  QDBusConnection bus_;
};

// Runs the event loop until `done` holds; a hang guard, not a measure of speed.
bool Eventually(const std::function<bool()>& done) {
  QDeadlineTimer deadline(10000);
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// Runs the event loop for a while, for what must not happen.
void RunEventsFor(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

const DBusMenuLayout* Entry(const DBusMenuLayout& menu, const QString& label) {
  for (const DBusMenuLayout& entry : menu.entries) {
    if (entry.properties.value("label").toString() == label) return &entry;
  }
  return nullptr;
}

// The mouse messages of the tray's callback, seen before the tray component gets them.
std::vector<platform::LPARAM> trayMouse;
platform::WNDPROC formProc = nullptr;
platform::LRESULT RecordTrayMouse(platform::HWND window, platform::UINT message, platform::WPARAM w,
                                  platform::LPARAM l) {
  if (message == TwkTray::TrayCallbackMessage) trayMouse.push_back(l);
  return platform::CallWindowProcA(formProc, window, message, w, l);
}

class RecordingMenu : public tk::TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  void Popup(int x, int y) override { opened.push_back({x, y}); }
  std::vector<platform::POINT> opened;
};

class TrayHostMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApp();
    platform::RegisterDBusTrayTypes();
    form = new tk::TForm(nullptr);
    menu = new RecordingMenu(form);
    tk::TMenuItem* root = menu->Items();
    play = Item(root, "&Play");
    play->OnClick = [this](tk::TComponent*) { ++plays; };
    timer = Item(root, "Timer");
    for (const char* caption : {"Off", "2 Minutes"}) {
      tk::TMenuItem* mode = Item(timer, caption);
      mode->SetRadioItem(true);
    }
    timer->Items(1)->SetChecked(true);
    Item(root, "-");
  }
  void TearDown() override {
    delete form;
    host.Stop();
  }

  tk::TMenuItem* Item(tk::TMenuItem* parent, const std::string& caption) {
    auto* item = new tk::TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }

  TwkTray* LoadedTray() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    auto* t = new TwkTray(form);
    t->BeginLoading();
    t->SetName("wkTray");
    t->SetIcon(QIcon(pixmap));
    t->SetPopupMenu(menu);
    t->EndLoading();
    return t;
  }

  FakeHost host;
  tk::TForm* form = nullptr;
  RecordingMenu* menu = nullptr;
  tk::TMenuItem* play = nullptr;
  tk::TMenuItem* timer = nullptr;
  int plays = 0;
};

TEST_F(TrayHostMenuTest, HostDrawsTheMenuAndItsChoicesRunTheEntries) {
  host.Start();
  TwkTray* tray = LoadedTray();
  ASSERT_TRUE(Eventually([&] { return !host.items.empty(); }));

  // A new tip is no new registration.
  tray->SetTip("Another tip");
  DBusMenuLayout layout = host.Layout();
  EXPECT_EQ(host.items.size(), 1u);
  ASSERT_EQ(layout.entries.size(), 3);
  EXPECT_EQ(layout.entries[0].properties.value("label").toString(), "_Play");
  const DBusMenuLayout* modes = Entry(layout, "Timer");
  ASSERT_NE(modes, nullptr);
  EXPECT_EQ(modes->properties.value("children-display").toString(), "submenu");
  ASSERT_EQ(modes->entries.size(), 2);
  EXPECT_EQ(modes->entries[0].properties.value("toggle-type").toString(), "radio");
  EXPECT_EQ(modes->entries[0].properties.value("toggle-state").toInt(), 0);
  EXPECT_EQ(modes->entries[1].properties.value("toggle-state").toInt(), 1);
  EXPECT_EQ(layout.entries[2].properties.value("type").toString(), "separator");

  host.Click(layout.entries[0].id);
  ASSERT_TRUE(Eventually([&] { return plays == 1; }));
  EXPECT_EQ(menu->PopupComponent(), tray);
  // A submenu or a separator chooses nothing; neither does the drawn popup open.
  host.Click(modes->id);
  host.Click(layout.entries[2].id);
  QCoreApplication::processEvents();
  EXPECT_EQ(plays, 1);
  EXPECT_TRUE(menu->opened.empty());

  // A change shows at the next look, the check mark moved by a handler included, and
  // hosts that do not look again are told of the moved mark.
  host.FollowProperties();
  timer->Items(0)->SetChecked(true);
  Item(timer, "Custom 15 Minutes");
  ASSERT_TRUE(Eventually([&] { return Entry(host.Layout(), "Timer")->entries.size() == 3; }));
  layout = host.Layout();
  EXPECT_EQ(Entry(layout, "Timer")->entries[0].properties.value("toggle-state").toInt(), 1);
  EXPECT_EQ(Entry(layout, "Timer")->entries[1].properties.value("toggle-state").toInt(), 0);
  ASSERT_TRUE(Eventually([&] { return host.propertyUpdates.size() >= 2; }));
  std::map<int, int> marks;
  for (const platform::DBusMenuItem& update : host.propertyUpdates) {
    marks[update.id] = update.properties.value("toggle-state").toInt();
  }
  EXPECT_EQ(marks[Entry(layout, "Timer")->entries[0].id], 1);
  EXPECT_EQ(marks[Entry(layout, "Timer")->entries[1].id], 0);
}

// A host about to show the menu, or telling it opened, runs the popup's OnPopup as the
// drawn popup does; the configuration window readies the sound device there for the clip
// that may be picked.
TEST_F(TrayHostMenuTest, AHostShowingTheMenuOpensTheSoundDeviceAhead) {
  menu->OnPopup = [](tk::TComponent*) { platform::OpenSoundOutputAhead(); };
  host.Start();
  LoadedTray();
  ASSERT_TRUE(Eventually([&] { return !host.items.empty(); }));
  const QVariant noData = QVariant::fromValue(QDBusVariant(0));
  for (const QVariantList& open :
       {QVariantList{0}, QVariantList{0, QString("opened"), noData, 0u}}) {
    platform::ShutdownSoundOutput();
    ASSERT_FALSE(platform::IsSoundOutputOpen());
    host.Call("/MenuBar", "com.canonical.dbusmenu", open.size() == 1 ? "AboutToShow" : "Event",
              open);
    EXPECT_TRUE(Eventually([] { return platform::IsSoundOutputOpen(); }));
  }
  platform::ShutdownSoundOutput();
  // A submenu's showing is no sign of a clip to come.
  const int timerId = Entry(host.Layout(), "Timer")->id;
  host.Call("/MenuBar", "com.canonical.dbusmenu", "AboutToShow", {timerId});
  QCoreApplication::processEvents();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(platform::IsSoundOutputOpen());
}

TEST_F(TrayHostMenuTest, WhileTheMenuIsShutTheHostShowsOneDisabledLine) {
  host.Start();
  LoadedTray();
  ASSERT_TRUE(Eventually([&] { return !host.items.empty(); }));
  const int playId = host.Layout().entries[0].id;

  menu->SetAutoPopup(false);
  ASSERT_TRUE(Eventually([&] { return host.Layout().entries.size() == 1; }));
  const DBusMenuLayout line = host.Layout().entries[0];
  EXPECT_EQ(line.properties.value("label").toString(), tray::TTrayMenuExport::ClosedCaption);
  EXPECT_FALSE(line.properties.value("enabled", true).toBool());
  // A host still showing the old menu cannot choose from it either.
  host.Click(playId);
  host.Click(line.id);
  QCoreApplication::processEvents();
  EXPECT_EQ(plays, 0);

  menu->SetAutoPopup(true);
  ASSERT_TRUE(Eventually([&] { return host.Layout().entries.size() == 3; }));
  host.Click(host.Layout().entries[0].id);
  EXPECT_TRUE(Eventually([&] { return plays == 1; }));
}

TEST_F(TrayHostMenuTest, HostClicksOpenTheDrawnPopupAtTheirPointAndTheItemLeavesWithTheIcon) {
  host.Start();
  TwkTray* tray = LoadedTray();
  ASSERT_TRUE(Eventually([&] { return !host.items.empty(); }));

  // Plasma hands over an activation token before each click.
  EXPECT_EQ(host.Call("/StatusNotifierItem", "org.kde.StatusNotifierItem",
                      "ProvideXdgActivationToken", {QString("token")})
                .type(),
            QDBusMessage::ReplyMessage);
  host.Call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "ContextMenu", {300, 400});
  ASSERT_TRUE(Eventually([&] { return !menu->opened.empty(); }));
  EXPECT_EQ(menu->opened[0].x, 300);
  EXPECT_EQ(menu->opened[0].y, 400);
  // A left click does nothing; a middle click arrives as the middle button.
  trayMouse.clear();
  formProc = platform::LongToProc(platform::SetWindowLongA(form->Handle(), platform::GWL_WNDPROC,
                                                           platform::ProcToLong(&RecordTrayMouse)));
  host.Call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", {10, 10});
  host.Call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "SecondaryActivate", {10, 10});
  ASSERT_TRUE(Eventually([&] { return trayMouse.size() == 2; }));
  EXPECT_EQ(trayMouse[0], platform::WM_LBUTTONDOWN);
  EXPECT_EQ(trayMouse[1], platform::WM_MBUTTONDOWN);
  EXPECT_EQ(menu->opened.size(), 1u);

  delete tray;
  EXPECT_TRUE(Eventually([&] { return !host.ItemOnBus(); }));
}

TEST_F(TrayHostMenuTest, AHostThatStartsLaterGetsTheIconAndItsMenu) {
  LoadedTray();
  QCoreApplication::processEvents();
  EXPECT_TRUE(host.items.empty());

  host.Start();
  ASSERT_TRUE(Eventually([&] { return !host.items.empty(); }));
  EXPECT_EQ(host.Layout().entries.size(), 3);

  // A restarted host is told again.
  host.Stop();
  host.Start();
  EXPECT_TRUE(Eventually([&] { return host.items.size() == 2; }));
}

// A host rebuilds an open menu in place: the one line of the splash would grow off the
// screen. The new layout is announced once the host closed the menu, or shows it anew.
TEST_F(TrayHostMenuTest, ALayoutChangeWaitsUntilTheHostClosesTheMenu) {
  host.Start();
  LoadedTray();
  ASSERT_TRUE(Eventually([&] { return !host.items.empty(); }));
  host.FollowLayout();
  const QVariant noData = QVariant::fromValue(QDBusVariant(0));
  auto event = [&](const char* name) {
    host.Call("/MenuBar", "com.canonical.dbusmenu", "Event", {0, QString(name), noData, 0u});
  };

  // GNOME tells of the opening before it asks for the menu; Plasma the other way round.
  event("opened");
  host.Call("/MenuBar", "com.canonical.dbusmenu", "AboutToShow", {0});
  menu->SetAutoPopup(false);
  // Whoever asks sees the new menu; only the host's open one is left alone.
  ASSERT_TRUE(Eventually([&] { return host.Layout().entries.size() == 1; }));
  RunEventsFor(200);
  EXPECT_EQ(host.layoutUpdates, 0);
  event("closed");
  EXPECT_TRUE(Eventually([&] { return host.layoutUpdates == 1; }));

  // Shown again without a word of its closing: the held change goes out then.
  event("opened");
  menu->SetAutoPopup(true);
  RunEventsFor(200);
  EXPECT_EQ(host.layoutUpdates, 1);
  const QDBusMessage reopened = host.Call("/MenuBar", "com.canonical.dbusmenu", "AboutToShow", {0});
  EXPECT_EQ(reopened.arguments().value(0).toBool(), true);
  EXPECT_TRUE(Eventually([&] { return host.layoutUpdates == 2; }));

  // An id the menu does not have is an error, not an empty entry.
  EXPECT_EQ(host.Call("/MenuBar", "com.canonical.dbusmenu", "GetLayout", {12345, -1, QStringList()})
                .type(),
            QDBusMessage::ErrorMessage);
}

}  // namespace

#include "TrayHostMenuTest.moc"
