// The tray icon as a StatusNotifierItem host reads it over the bus: the symbolic icon by
// theme name where it is installed, the theme path of a portable folder, and the pixmaps
// always. Runs on a private session bus (dbus-run-session).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <memory>

#include "platform/linux/tray/StatusNotifierItem.h"
#include "support/QtTestApp.h"

namespace {

const QString kIconFile = "hicolor/symbolic/apps/org.jabberwell.Jabberwell-symbolic.svg";

void PutIcon(const QString& iconsDir) {
  ASSERT_TRUE(QDir().mkpath(iconsDir + "/hicolor/symbolic/apps"));
  QFile file(iconsDir + "/" + kIconFile);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
}

class StatusNotifierIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApp();
    besideProgram = QCoreApplication::applicationDirPath() + "/share";
    item = std::make_unique<platform::StatusNotifierItem>([](unsigned, bool, int, int) {});
    ASSERT_TRUE(dataDirs.isValid());
    // No data folder of this machine may hold the icon.
    qputenv("XDG_DATA_HOME", (dataDirs.path() + "/home").toUtf8());
    qputenv("XDG_DATA_DIRS", (dataDirs.path() + "/system").toUtf8());
    QDir(besideProgram).removeRecursively();
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    item->SetIcon(QIcon(picture));
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    item->Register();  // on the bus; no watcher here to tell
  }
  void TearDown() override { QDir(besideProgram).removeRecursively(); }

  // A property as the host reads it, through the item's bus name.
  QVariant Read(const QString& property) {
    QDBusMessage call = QDBusMessage::createMethodCall(item->ServiceName(), "/StatusNotifierItem",
                                                       "org.freedesktop.DBus.Properties", "Get");
    call << QString("org.kde.StatusNotifierItem") << property;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::BlockWithGui);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    return reply.arguments().isEmpty()
               ? QVariant()
               : qvariant_cast<QDBusVariant>(reply.arguments()[0]).variant();
  }
  bool HasPixmap() const { return !item->iconPixmap().isEmpty(); }

  QTemporaryDir dataDirs;
  QString besideProgram;
  std::unique_ptr<platform::StatusNotifierItem> item;
};

TEST_F(StatusNotifierIconTest, WithoutTheInstalledIconHostsGetOnlyThePixmaps) {
  EXPECT_EQ(Read("IconName").toString(), "");
  EXPECT_EQ(Read("IconThemePath").toString(), "");
  EXPECT_TRUE(HasPixmap());
}

TEST_F(StatusNotifierIconTest, AnIconInADataFolderIsNamedWithoutAThemePath) {
  PutIcon(dataDirs.path() + "/system/icons");
  EXPECT_EQ(Read("IconName").toString(), "org.jabberwell.Jabberwell-symbolic");
  EXPECT_EQ(Read("IconThemePath").toString(), "");
  // The other names stay empty, so no host draws our icon as an overlay or attention.
  EXPECT_EQ(Read("OverlayIconName").toString(), "");
  EXPECT_EQ(Read("AttentionIconName").toString(), "");
  EXPECT_TRUE(HasPixmap());
}

TEST_F(StatusNotifierIconTest, APortableFolderGivesItsOwnIconsAsTheThemePath) {
  PutIcon(besideProgram + "/icons");
  EXPECT_EQ(Read("IconName").toString(), "org.jabberwell.Jabberwell-symbolic");
  EXPECT_EQ(Read("IconThemePath").toString(), besideProgram + "/icons");
  EXPECT_TRUE(HasPixmap());
}

}  // namespace
