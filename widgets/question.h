#pragma once
// A question on a small panel over the screen, answered by one of its captions ("YES",
// "NO", ...). By default Enter picks the first answer and Escape the second (the editor's
// questions). A guarded question instead takes the keyboard ring for its answers, starting
// on the safe one, which Escape also gives: two presses of the same key never pick the
// other answer. The screen's ring comes back when the question closes.
#include <optional>
#include <string>
#include <vector>

#include "widgets/widgets.h"

class ImageWidget;
class TextButton;
class TextLabel;

class Question {
public:
    // Two answers stand at x 250 and 390, a third between them at 320.
    void Open(const std::string& text, const std::vector<std::string>& answers);
    void OpenGuarded(const std::string& text, const std::vector<std::string>& answers, int safeAnswer);
    void Close();
    // The widgets went with the screen's (the screen was left): forget them.
    void Forget();
    bool IsOpen() const { return panel != nullptr; }
    const std::string& Text() const { return text; }
    // The answer given this frame, as its position in Open's list; -1 while none.
    int Answer() const;

private:
    ImageWidget* panel = nullptr;
    TextLabel* label = nullptr;
    std::vector<TextButton*> buttons;
    std::string text;
    int safe = -1;
    std::optional<FocusState> screenFocus;
};
