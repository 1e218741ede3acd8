#pragma once
#include <string>

// Draws the frame's queued pictures off screen on white, shrinks them by three to 210x158
// and writes it to `path` ("Preview.bmp" in the working folder unless told otherwise). The
// queue is empty afterwards. False (and a notice) when the picture could not be written.
bool SavePreview(const std::string& path = "Preview.bmp");
