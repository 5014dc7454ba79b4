#ifdef JBW_HAVE_APP
#include "app/JBWv3.h"

int main(int argc, char** argv) {
  return JBWv3(argc, argv);
}
#else
#include <cstdio>

int main() {
  std::puts("jabberwell: nothing to start yet");
  return 0;
}
#endif
