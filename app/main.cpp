#include "EventProbe.h"
#include "app/JBWv3.h"

int main(int argc, char** argv) {
  EventProbe::InstallFromEnvironment();
  return JBWv3(argc, argv);
}
