#include "media/screenshot.h"

void SaveScreenshot() {}
