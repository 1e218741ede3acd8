#pragma once

// Placeholder until cutscenes land.
void StartOpeningCutscene();
void UpdateSlideshow();
bool SlideshowFinished();
void ClearSlideQueue();
