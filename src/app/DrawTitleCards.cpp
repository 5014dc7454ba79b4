// Build tool: draws the title cards into PNG files in the folder given.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "app/TitleCards.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  QGuiApplication app(argc, argv);
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  const bool saved = app::DrawSplashCard().save(folder.filePath(QStringLiteral("splash.png"))) &&
                     app::DrawAdvertCard().save(folder.filePath(QStringLiteral("advert.png")));
  if (!saved) std::fprintf(stderr, "%s: cannot write the title cards\n", argv[0]);
  return saved ? 0 : 1;
}
