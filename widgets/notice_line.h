#pragma once
#include <string>

// A line at the foot of whatever screen is showing, telling the player what the game
// survived (a file it could not read or write, a module it skipped). Messages come from
// platform::Notify and are shown one after another, each for a few seconds; those from
// platform::NotifyUntilDismissed come first and stay until a key or a click closes them,
// which only counts while the player can see them (`canDismiss`: no cutscene over them).
// However long, a message wraps within the screen, standing on a dark strip.
void ShowNotices(bool canDismiss = true);
// The line on screen now, empty when there is none.
const std::string& CurrentNotice();
// Drops the line and its font (before the font library closes).
void ClearNotices();
