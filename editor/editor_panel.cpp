#include "editor/editor_panel.h"

#include <memory>

#include "platform/sdl_handles.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"

ImageWidget* AddPanelPicture() {
    return addImageWidget(std::make_unique<ImageWidget>(Image("GUI/EditorPanel.png", 1, 0, kPanelW, kPanelH), kPanelX,
                                                        kPanelY, kPanelDepth + 1));
}

TextLabel* AddPanelLabel(int x, int y, int boxWidth, bool centred, SDL_Color colour, const std::string& text,
                         int points) {
    auto label = std::make_unique<TextLabel>();
    label->setPosition(x, y);
    label->setBoxWidth(boxWidth);
    label->setCentred(centred);
    label->setFont(InterfaceFontPath(), points);
    label->setColour(colour);
    label->setDepth(kPanelDepth);
    label->setText(text);
    return addLabel(std::move(label));
}

ImageWidget* AddFieldBox(int x, int y, int w, int h) {
    SurfaceHandle s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0));
    if (s) {
        SDL_FillRect(s.get(), nullptr, SDL_MapRGB(s->format, 90, 76, 140));
        SDL_Rect inner{1, 1, static_cast<Uint16>(w - 2), static_cast<Uint16>(h - 2)};
        SDL_FillRect(s.get(), &inner, SDL_MapRGB(s->format, 24, 20, 34));
    }
    return addImageWidget(std::make_unique<ImageWidget>(Image(s.get()), x, y, kPanelDepth + 1));
}

TextButton* AddPanelButton(const std::string& caption, int centreX) {
    auto button = std::make_unique<TextButton>();
    button->setFont(InterfaceFontPath(), 22);
    button->setNormalColour(kPanelParchment);
    button->setHoverColour(kPanelAmber);
    button->setPressedColour(kPanelEmber);
    button->setText(caption);
    button->setDepth(kPanelDepth);
    SDL_Rect r = button->getRect();
    button->setRect(centreX - r.w / 2, kPanelY + kPanelH - 36, r.w, r.h);
    return addButton(std::move(button));
}
