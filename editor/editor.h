#pragma once

class PlaySession;
// The level editor screen: it edits the live World, whose objects are the level's.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/level_file.h"

class Entity;

void EditorEntry(const PlaySession& play);
// Once per frame while the editor is the screen, before the widgets update.
void EditorUpdate();
void EditorExit();
// Writes "./NewLevel.ini", registers it and builds it for play. False (with the reason shown
// in the editor) when the file can't be written; the editor then stays.
bool StartTestPlay(PlaySession& play);
void SetEditorHoldsLevel(bool holds);

// Leaving the editor loses what is not saved, so the way out goes through the editor: with
// unsaved edits it asks "Discard changes?" first and grants the request only on yes.
enum class EditorLeave { None, Settings, Load, Quit };
void EditorRequestLeave(EditorLeave where);
// The granted request, once; None while the question is open or nothing was asked.
EditorLeave EditorTakeLeave();
// A closed window: true when the program may end now (not in the editor, or nothing unsaved).
bool EditorAllowsQuit();

// The first piece (a physical object) other than the ghost whose picture strictly contains
// the point, or null.
Entity* ObjectAt(int px, int py);

// Open to tests and tools.
struct EditorView {
    int moduleIndex = 0;
    int templateIndex = 0;
    std::vector<int> palette;
    Entity* ghost = nullptr;
    int mode = 0;
    std::string linkSource;
    int nextLinkNumber = 0;
    LevelProperties level;
    bool holdsLevel = false;
    bool asking = false;  // "Discard changes?" is on screen
    std::string status;   // the last save or test message
    std::string statusLine;  // what the status line shows: a tool's caption, a link step or the message
    bool panelOpen = false;  // the level form or the search panel holds the keys
    std::string solveVerdict;  // how the last search ended, "" while it runs
    std::string levelPath;  // the file this visit last saved the level to; empty when none
    std::string moduleCaption, templateCaption;
};
const EditorView& CurrentEditor();
// Every object but the ghost as the level file holds it (positions before the offsets).
std::vector<LevelEntry> EditorLevelObjects();
// Writes the level file; false when it could not be written (the old file is then untouched).
bool WriteEditorLevel(const std::string& path);
bool HasUnsavedChanges();
void EditorUndo();
void EditorRedo();
int EditorUndoDepth();
// The search panel and the level form while open, else null.
class SolvePanel;
class LevelForm;
const SolvePanel* EditorSolvePanel();
const LevelForm* EditorLevelForm();
// The level form is open: letters are typed into it, not taken as the game's keys.
bool EditorTypingText();
// Closes the form and the search and lets go of the pictures drawn over the level, while the
// widgets, fonts and SDL they hold are still there (shutdown).
void ReleaseEditorPanels();
// Wall time given to the search in each frame.
void SetEditorSolveSlice(double seconds);
// Back to the first visit: module 0, no history, no level held (tests).
void ResetEditorState();
