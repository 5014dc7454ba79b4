#include "support/QtTestApp.h"
#include "toolkit/Application.h"

namespace {

int argc = 1;
char name[] = "jbw_test";
char* argv[] = {name, nullptr};

}  // namespace

void EnsureToolkitApp() {
  tk::Application().Initialize(argc, argv);
}
