// Fontconfig keeps a cache it never frees; the leak checker is told here, since only one
// test environment variable reaches the tests.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
