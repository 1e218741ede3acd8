#pragma once

// Placeholder until the editor lands.
void EditorEntry();
void EditorUpdate();
void EditorExit();
void StartTestPlay();
void SetEditorHoldsLevel(bool holds);
