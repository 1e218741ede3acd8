#pragma once

// Draws the frame's queued pictures off screen on white, shrinks them by three to 210x158
// and writes "Preview.bmp" in the working folder. The queue is empty afterwards.
void SavePreview();
