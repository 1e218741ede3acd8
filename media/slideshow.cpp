#include "media/slideshow.h"

void StartOpeningCutscene() {}
void UpdateSlideshow() {}
bool SlideshowFinished() { return true; }
void ClearSlideQueue() {}
