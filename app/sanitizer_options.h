#pragma once
// The one leak the SDL runtime leaves at exit: the window surface SDL_SetVideoMode makes is
// never freed by SDL_Quit. The default fast unwinder stops at the first frame without a frame
// pointer, so that leak's stack shows only the library (malloc <- libSDL2), never the function
// name: the library is the narrowest rule that still matches. Every other leak is reported,
// the game's own surfaces and fonts included. Included by each program's main file only.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2\n";
}
// Quiet about the suppressions, so a program's last line of output stays its own.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
