#include "dialog/dialogs.h"

void AddDialog(const std::string&) {}
void UpdateDialogs() {}
void DeleteAllDialogs() {}
void CreateDialogBox() {}
void FreeDialogBox() {}
void CloseBox() {}
