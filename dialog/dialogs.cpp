#include "dialog/dialogs.h"

#include "content/registry.h"
#include "dialog/dialog.h"

std::vector<std::unique_ptr<Dialog>>& RunningDialogs() {
    static std::vector<std::unique_ptr<Dialog>> dialogs;
    return dialogs;
}

void AddDialog(std::unique_ptr<Dialog> dialog) {
    if (dialog)
        RunningDialogs().push_back(std::move(dialog));
}

void AddDialog(const std::string& name) { AddDialog(Registry().NewDialog(name)); }

void UpdateDialogs() {}
void DeleteAllDialogs() { RunningDialogs().clear(); }
void CreateDialogBox() {}
void FreeDialogBox() {}
void CloseBox() {}
