#pragma once
#include <string>

// A short-lived line at the foot of whatever screen is showing, telling the player what the
// game survived (a file it could not read or write, a module it skipped). Messages come
// from platform::Notify, are shown one after another, each for a few seconds.
void ShowNotices();
// The line on screen now, empty when there is none.
const std::string& CurrentNotice();
// Drops the line and its font (before the font library closes).
void ClearNotices();
