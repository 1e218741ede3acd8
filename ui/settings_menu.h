#pragma once
#include <string>

// Volumes, window size, key bindings, clearing progress and the way into the level editor. The
// settings reach the disk when the screen is left.
void SettingsMenuEntry();
void SettingsMenuUpdate();
void SettingsMenuExit();

// SDL's name of a key symbol in upper case; symbols SDL has no name for read "UNKNOWN KEY".
std::string KeyCaption(int sym);

// What the screen's changing lines read.
struct SettingsMenuText {
    std::string clicks, sound, music, action, key, rebind, window;
    // What a rebinding did to another action's key, and the question open (empty: none).
    std::string bindingNote, question;
};
SettingsMenuText SettingsMenuView();
