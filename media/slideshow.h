#pragma once
#include <cstddef>

// Cutscenes: full-screen pictures shown one after another through fades to black. While a
// slideshow runs it swallows all input and hides the mouse cursor.

// Empties the queue for a new cutscene; `skippable` lets Action 1, Skip Dialog, Enter, Space
// and a click end it (Escape always does). A hint over the pictures names the keys.
void BeginCutscene(bool skippable);
// Queues "GUI/Cutscenes/<name><first>.png" to "<name><last>.png", leaving out `missing`.
void QueueCutscene(const char* name, int first, int last, int missing = 0);
void StartSlideshow();

// Once per frame from the main loop; true on the frame the player skips the show.
bool UpdateSlideshow();
// No picture waits and none is shown.
bool SlideshowFinished();
bool SlideshowActive();
std::size_t SlideQueueSize();

// A held picture stays up until released (a dialog box is open over it).
void HoldSlideshow();
void ReleaseSlideshow();
void ClearSlideQueue();
