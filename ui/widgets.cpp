#include "ui/widgets.h"

void InstallCursor(const Image&) {}
void updateWidgets() {}
void clearWidgets() {}
int clickedButton() { return -1; }
