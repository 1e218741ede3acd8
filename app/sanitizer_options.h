#pragma once
// Leaks inside the SDL libraries at exit are theirs, not ours: a sanitizer build names
// everything else. Included by each program's main file only.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2\nleak:libSDL-1.2\nleak:libSDL_mixer\nleak:libSDL_ttf\nleak:libSDL_image\n"
           "leak:libfreetype\nleak:libdbus\nleak:libX11\n";
}
// Quiet about the suppressions, so a program's last line of output stays its own.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
