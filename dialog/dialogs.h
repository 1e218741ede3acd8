#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dialog/dialog_box.h"

class Dialog;

// The running dialogs: those of the level being played (handed over when it is built) and
// those added by the cutscenes and the secret sequences. Each waits for its event, then
// becomes the current dialog and is shown message by message in the dialog box.
std::vector<std::unique_ptr<Dialog>>& RunningDialogs();
// Index into RunningDialogs of the dialog being shown, or -1.
int CurrentDialog();

void AddDialog(std::unique_ptr<Dialog> dialog);
// Makes the named dialog definition into a running dialog; an unknown name is fatal.
void AddDialog(const std::string& name);

// What the events of dialogs look at beyond the World, gathered by play each frame.
struct DialogCues {
    std::int32_t turnCount = 0;
    bool levelPerfect = false;
    std::size_t slidesWaiting = 0;
    bool replayPlaying = false;
};

// Once per frame: starts every dialog whose event has come, then updates the dialog box.
void UpdateDialogs(const DialogCues& cues);
// Makes the dialog current and shows its first message.
void StartDialog(int index);
// Shows the current dialog's next message, or closes the box when none is left.
void NextMessage();
void RemoveCurrentDialog();
void DeleteAllDialogs();

// Whether a dialog waiting for `event` would start now.
bool EventFires(const std::string& event, const DialogCues& cues);
