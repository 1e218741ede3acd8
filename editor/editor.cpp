#include "editor/editor.h"

void EditorEntry() {}
void EditorUpdate() {}
void EditorExit() {}
void StartTestPlay() {}
void SetEditorHoldsLevel(bool) {}
