#include "app/JBWv3.h"

int main(int argc, char** argv) {
  return JBWv3(argc, argv);
}
