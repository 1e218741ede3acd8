#pragma once
#include <memory>
#include <string>
#include <vector>

class Dialog;

// The dialogs of the running level, in the order they were handed over; they own themselves here
// until the level is left. (Waiting for events and the box itself are still placeholders.)
std::vector<std::unique_ptr<Dialog>>& RunningDialogs();
void AddDialog(std::unique_ptr<Dialog> dialog);
// Makes the named dialog definition into a running dialog.
void AddDialog(const std::string& name);
void UpdateDialogs();
void DeleteAllDialogs();
void CreateDialogBox();
void FreeDialogBox();
void CloseBox();
