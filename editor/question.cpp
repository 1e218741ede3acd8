#include "editor/question.h"

#include <SDL.h>

#include <memory>

#include "app/input.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/image.h"

namespace {

constexpr int kPromptDepth = -100100;
constexpr SDL_Color kParchment{244, 232, 204, 0};
constexpr SDL_Color kAmber{242, 172, 64, 0};
constexpr SDL_Color kEmber{214, 96, 52, 0};

}  // namespace

void EditorQuestion::Open(const std::string& text, const std::vector<std::string>& answers) {
    Close();
    panel = addImageWidget(
        std::make_unique<ImageWidget>(Image("GUI/EditorPrompt.png", 1, 0, 300, 120), 170, 180, kPromptDepth + 1));
    auto line = std::make_unique<TextLabel>();
    line->setPosition(170, 196);
    line->setBoxWidth(300);
    line->setCentred(true);
    line->setFont(InterfaceFontPath(), 26);
    line->setColour(kParchment);
    line->setDepth(kPromptDepth);
    line->setText(text);
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

void EditorQuestion::Close() {
    if (!IsOpen())
        return;
    removeImageWidget(panel);
    removeLabel(label);
    for (TextButton* button : buttons)
        removeButton(button);
    Forget();
}

void EditorQuestion::Forget() {
    panel = nullptr;
    label = nullptr;
    buttons.clear();
}

int EditorQuestion::Answer() const {
    if (!IsOpen())
        return -1;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isClicked())
            return static_cast<int>(i);
    if (KeyPressed(SDLK_RETURN))
        return 0;
    if (KeyPressed(kEscapeKey) && buttons.size() > 1)
        return 1;
    return -1;
}
