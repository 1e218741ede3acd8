#pragma once
#include <string>

// Placeholder until dialogs land.
void AddDialog(const std::string& name);
void UpdateDialogs();
void DeleteAllDialogs();
void CreateDialogBox();
void FreeDialogBox();
void CloseBox();
