#include "play/save_data.h"

void LoadSaveData() {}
void SaveSaveData() {}
