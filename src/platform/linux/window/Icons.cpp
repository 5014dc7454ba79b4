#include "platform/Icons.h"
#include "platform/linux/QtBridge.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QString>
#include <cctype>
#include <map>
#include <string>
#include <unordered_map>

// Resources in a static library are only linked in when something asks for them.
static void InitIconResources() {
  Q_INIT_RESOURCE(PlatformIcons);
}

namespace platform {

namespace {

struct IconTable {
  std::unordered_map<HICON, QIcon> icons;
  std::map<std::string, HICON> byName;  // shared icons from LoadIconA
  HICON next = 0x20000;

  HICON Add(const QIcon& icon) {
    const HICON handle = next;
    next += 4;
    icons.emplace(handle, icon);
    return handle;
  }
};

IconTable& Table() {
  static IconTable table;
  return table;
}

bool IsShared(HICON handle) {
  for (const auto& [name, h] : Table().byName) {
    if (h == handle) return true;
  }
  return false;
}

// Resource names are case-insensitive, as icon resource names are.
std::string UpperName(const char* name) {
  std::string upper(name);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return upper;
}

}  // namespace

HICON LoadIconA(HINSTANCE instance, const char* name) {
  // Icons are pictures, and there are no pictures before the GUI exists.
  if (instance != 0 || !name || !*name || !qGuiApp) return 0;
  static const bool initialised = (InitIconResources(), true);
  (void)initialised;
  const std::string key = UpperName(name);
  IconTable& table = Table();
  if (auto it = table.byName.find(key); it != table.byName.end()) return it->second;

  const QString folder = QStringLiteral(":/icons/") + QString::fromLatin1(key.c_str());
  QIcon icon;
  for (int size : {16, 22, 32, 48, 64}) {
    const QString file = folder + QStringLiteral("/%1.png").arg(size);
    // Read as PNG outright: otherwise Qt asks every image plugin about the file, and
    // loads them all, at start.
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage picture = reader.read();
    if (!picture.isNull()) icon.addPixmap(QPixmap::fromImage(picture));
  }
  if (icon.isNull()) return 0;
  const HICON handle = table.Add(icon);
  table.byName.emplace(key, handle);
  return handle;
}

HICON RegisterIcon(const QIcon& icon) {
  return icon.isNull() ? 0 : Table().Add(icon);
}

BOOL DestroyIcon(HICON icon) {
  if (IsShared(icon)) return 1;
  return Table().icons.erase(icon) ? 1 : 0;
}

QIcon IconFromHandle(HICON icon) {
  auto it = Table().icons.find(icon);
  return it == Table().icons.end() ? QIcon() : it->second;
}

}  // namespace platform
