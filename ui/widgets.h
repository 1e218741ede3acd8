#pragma once
#include "world/image.h"

// Placeholder until widgets land.
void InstallCursor(const Image& cursor);
void updateWidgets();
void clearWidgets();
int clickedButton();
