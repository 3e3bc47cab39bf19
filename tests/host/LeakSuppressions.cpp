// Qt's font set-up keeps fontconfig state that fontconfig never frees; not ours to fix.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
