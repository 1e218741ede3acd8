#pragma once
// A question on the editor's panel, answered by one of its captions ("YES", "NO", ...):
// Enter picks the first answer and Escape the second.
#include <string>
#include <vector>

class ImageWidget;
class TextButton;
class TextLabel;

class EditorQuestion {
public:
    // Two answers stand at x 250 and 390, a third between them at 320.
    void Open(const std::string& text, const std::vector<std::string>& answers);
    void Close();
    // The widgets went with the screen's (the editor was left): forget them.
    void Forget();
    bool IsOpen() const { return panel != nullptr; }
    // The answer given this frame, as its position in Open's list; -1 while none.
    int Answer() const;

private:
    ImageWidget* panel = nullptr;
    TextLabel* label = nullptr;
    std::vector<TextButton*> buttons;
};
