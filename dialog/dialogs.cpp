#include "dialog/dialogs.h"

#include "app/input.h"
#include "content/registry.h"
#include "content/dialog.h"
#include "world/trigger.h"
#include "world/world.h"

namespace {
int currentDialog = -1;

Dialog* Current() {
    auto& dialogs = RunningDialogs();
    if (currentDialog < 0 || currentDialog >= static_cast<int>(dialogs.size()))
        return nullptr;
    return dialogs[static_cast<std::size_t>(currentDialog)].get();
}

bool TriggerActive(const std::string& linkName) {
    for (Entity* object : TheWorld().FindByLinkName(linkName)) {
        auto* trigger = dynamic_cast<Trigger*>(object);
        if (trigger != nullptr && trigger->active)
            return true;
    }
    return false;
}
}  // namespace

std::vector<std::unique_ptr<Dialog>>& RunningDialogs() {
    static std::vector<std::unique_ptr<Dialog>> dialogs;
    return dialogs;
}

int CurrentDialog() { return currentDialog; }

void AddDialog(std::unique_ptr<Dialog> dialog) {
    if (dialog)
        RunningDialogs().push_back(std::move(dialog));
}

void AddDialog(const std::string& name) { AddDialog(Registry().NewDialog(name)); }

bool EventFires(const std::string& event, const DialogCues& cues) {
    const World& world = TheWorld();
    if (event.empty())
        return false;
    if (event == "LEVEL_START")
        return cues.turnCount == 0;
    if (event == "LEVEL_FAIL")
        return world.levelStatus == LevelStatus::Failed;
    if (event == "LEVEL_COMPLETE")
        return world.levelStatus == LevelStatus::Complete;
    if (event == "LEVEL_PERFECT")
        return cues.levelPerfect;
    if (event == "ENDING_DIALOG")
        return cues.slidesWaiting == 0;
    if (event == "SECRET_DIALOGA")
        return SecretAEntered();
    if (event == "SECRET_DIALOGB")
        return SecretBEntered();
    return TriggerActive(event);
}

void UpdateDialogs(const DialogCues& cues) {
    // A replay plays back without its level's talk.
    bool replayRunning = cues.replayPlaying && TheWorld().levelStatus != LevelStatus::NotPlaying;
    if (!replayRunning) {
        auto& dialogs = RunningDialogs();
        for (std::size_t i = 0; i < dialogs.size();) {
            Dialog* dialog = dialogs[i].get();
            if (dialog->started || !EventFires(dialog->event, cues)) {
                ++i;
                continue;
            }
            dialog->started = true;
            StartDialog(static_cast<int>(i));
            // A dialog with nothing to say is gone at once; the next one now stands here.
            if (i < dialogs.size() && dialogs[i].get() == dialog)
                ++i;
        }
    }
    if (currentDialog != -1)
        UpdateDialogBox();
}

void StartDialog(int index) {
    currentDialog = index;
    NextMessage();
}

void NextMessage() {
    Dialog* dialog = Current();
    if (dialog == nullptr)
        return;
    if (dialog->messages.empty()) {
        // A box that never opened has no slide to end the dialog with.
        if (BoxOpen())
            CloseBox();
        else
            RemoveCurrentDialog();
        return;
    }
    const Message& message = dialog->messages.front();
    std::unique_ptr<Image> icon = Registry().NewSprite(message.icon);
    std::unique_ptr<Image> flag = Registry().NewSprite(message.flag);
    SetSpeakerPicture(*icon);
    SetFlagPicture(*flag);
    SetText(message.text);
    OpenBox();
    dialog->messages.pop_front();
}

void RemoveCurrentDialog() {
    auto& dialogs = RunningDialogs();
    if (currentDialog >= 0 && currentDialog < static_cast<int>(dialogs.size()))
        dialogs.erase(dialogs.begin() + currentDialog);
    currentDialog = -1;
}

void DeleteAllDialogs() {
    RunningDialogs().clear();
    currentDialog = -1;
}
