#include "support/QtTestApp.h"

#include <QApplication>

namespace {

int argc = 1;
char name[] = "jbw_test";
char* argv[] = {name, nullptr};

}  // namespace

void EnsureQtApp() {
  if (!QCoreApplication::instance()) new QApplication(argc, argv);
}
