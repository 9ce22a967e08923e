// Text goes through Pango and fontconfig, whose font-enumeration thread and caches leave
// allocations behind at exit that no caller can free. Only those libraries are exempt from the
// leak check of the sanitizer builds; everything of ours is still checked.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libpango-1.0.so\n"
         "leak:libpangoft2-1.0.so\n"
         "leak:libpangocairo-1.0.so\n";
}
