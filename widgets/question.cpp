#include "widgets/question.h"

#include <SDL.h>

#include <memory>

#include "app/input.h"
#include "widgets/text_label.h"
#include "world/image.h"

namespace {

constexpr int kPromptDepth = -100100;
constexpr SDL_Color kParchment{244, 232, 204, 0};
constexpr SDL_Color kAmber{242, 172, 64, 0};
constexpr SDL_Color kEmber{214, 96, 52, 0};

}  // namespace

void Question::Open(const std::string& question, const std::vector<std::string>& answers) {
    Close();
    text = question;
    panel = addImageWidget(
        std::make_unique<ImageWidget>(Image("GUI/EditorPrompt.png", 1, 0, 300, 120), 170, 180, kPromptDepth + 1));
    auto line = std::make_unique<TextLabel>();
    line->setPosition(176, 196);
    line->setBoxWidth(288);
    line->setCentred(true);
    line->setWrap(true);
    line->setFont(InterfaceFontPath(), 26);
    line->setColour(kParchment);
    line->setDepth(kPromptDepth);
    line->setText(question);
    label = addLabel(std::move(line));
    const int centres[] = {250, 390, 320};
    for (std::size_t i = 0; i < answers.size() && i < std::size(centres); ++i) {
        auto button = std::make_unique<TextButton>();
        button->setFont(InterfaceFontPath(), 24);
        button->setNormalColour(kParchment);
        button->setHoverColour(kAmber);
        button->setPressedColour(kEmber);
        button->setText(answers[i]);
        button->setDepth(kPromptDepth);
        SDL_Rect r = button->getRect();
        button->setRect(centres[i] - r.w / 2, 248, r.w, r.h);
        buttons.push_back(addButton(std::move(button)));
    }
}

void Question::OpenGuarded(const std::string& question, const std::vector<std::string>& answers, int safeAnswer) {
    const FocusState before = CurrentFocus();
    Open(question, answers);
    screenFocus = before;
    safe = safeAnswer;
    std::vector<int> order;
    for (const TextButton* button : buttons)
        order.push_back(buttonIndex(button));
    SetFocusOrder(order);
    if (safe >= 0 && safe < static_cast<int>(order.size()))
        SetFocusedButton(order[static_cast<std::size_t>(safe)]);
}

void Question::Close() {
    if (!IsOpen())
        return;
    removeImageWidget(panel);
    removeLabel(label);
    for (TextButton* button : buttons)
        removeButton(button);
    if (screenFocus)
        RestoreFocus(*screenFocus);
    Forget();
}

void Question::Forget() {
    panel = nullptr;
    label = nullptr;
    buttons.clear();
    text.clear();
    safe = -1;
    screenFocus.reset();
}

int Question::Answer() const {
    if (!IsOpen())
        return -1;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isClicked())
            return static_cast<int>(i);
    if (safe >= 0) {
        // Enter reaches the answers through the ring.
        return KeyPressed(kEscapeKey) ? safe : -1;
    }
    if (KeyPressed(SDLK_RETURN))
        return 0;
    if (KeyPressed(kEscapeKey) && buttons.size() > 1)
        return 1;
    return -1;
}
