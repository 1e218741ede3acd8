#include "ui/menu_parts.h"

#include <memory>

#include "audio/music.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/image.h"

namespace menu {

void AddPicture(const std::string& path, int depth, int x, int y, int width, int height) {
    addImageWidget(std::make_unique<ImageWidget>(Image(path, 1, 0, width, height), x, y, depth));
}

void AddScanlines() {
    addImageWidget(std::make_unique<ImageWidget>(Image("GUI/Scanlines.png", 3, 5, 640, 480), 0, 0, -100000));
}

TextLabel* AddLabel(int x, int y, int boxWidth, bool centred, int pointSize, SDL_Color colour, int depth,
                    const std::string& text) {
    auto label = std::make_unique<TextLabel>();
    label->setPosition(x, y);
    label->setBoxWidth(boxWidth);
    label->setCentred(centred);
    label->setDepth(depth);
    label->setFont(InterfaceFontPath(), pointSize);
    label->setColour(colour);
    label->setText(text);
    return addLabel(std::move(label));
}

TextButton* AddTextButton(const std::string& caption, int pointSize, int depth, SDL_Color normal) {
    auto button = std::make_unique<TextButton>();
    button->setFont(InterfaceFontPath(), pointSize);
    button->setNormalColour(normal);
    button->setHoverColour(kTextHover);
    button->setPressedColour(kTextPressed);
    button->setText(caption);
    button->setDepth(depth);
    return addButton(std::move(button));
}

void AddPictureButton(const std::string& path, int x, int y, int width, int height) {
    addButton(std::make_unique<Button>(Image(path, 1, 0, width, height), x, y, width, height, 0));
}

void MoveButton(TextButton* button, int x, int y, int heightTrim) {
    SDL_Rect r = button->getRect();
    button->setRect(x, y, r.w, r.h - heightTrim);
}

void CentreButton(TextButton* button, int centreX, int y) {
    SDL_Rect r = button->getRect();
    button->setRect(centreX - r.w / 2, y, r.w, r.h);
}

void StartTitleMusic() {
    if (CurrentSongName() != "RS#TITLETRACK")
        PlayMusic("RS#TITLETRACK", true);
}

std::string ShortName(const std::string& qualified) {
    std::size_t slash = qualified.find('/');
    return slash == std::string::npos ? qualified : qualified.substr(slash + 1);
}

}  // namespace menu
