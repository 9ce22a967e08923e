// Built into the sanitizer build's executable only. Pango and fontconfig keep caches and a
// font-enumeration thread whose allocations outlive every caller; they are exempt from the leak
// check at exit, everything of ours is still checked.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libpango-1.0.so\n"
         "leak:libpangoft2-1.0.so\n"
         "leak:libpangocairo-1.0.so\n";
}
