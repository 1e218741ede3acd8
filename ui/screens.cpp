#include "ui/screens.h"

void PlayDisplayEntry() {}
