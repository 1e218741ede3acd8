#pragma once

namespace platform {

// Whether the window has mouse focus. The dummy video driver never reports focus, so a
// scripted run declares itself focused.
bool HasMouseFocus();
void SetScriptedFocus(bool focused);

}  // namespace platform
