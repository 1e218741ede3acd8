#include "play/play.h"

void PlayUpdate() {}
void PlaySettle() {}
