#pragma once
#include <string>

// Writes the frame last presented as the first free "ScreenshotN.bmp" of the working folder.
void SaveScreenshot();
// The name SaveScreenshot would use now.
std::string NextScreenshotName();
