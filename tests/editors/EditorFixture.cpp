// Sanitizer suppressions for these tests, given in code since only one test environment
// variable reaches the tests. Fontconfig keeps a cache it never frees; Qt converts grabbed
// images on its own pooled threads, in code the thread checker cannot see into. The
// editors start no threads of their own.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
extern "C" const char* __tsan_default_suppressions() {
  return "race:libQt6Gui.so\nrace:libQt6Core.so\n";
}
