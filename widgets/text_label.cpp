#include "widgets/text_label.h"

#include <algorithm>
#include <vector>

#include "platform/game_error.h"
#include "world/draw_queue.h"
#include "world/pixels.h"

namespace {

// Display format with alpha when a window is open, so the copy below and later blits are cheap.
SurfaceHandle ToDisplayAlpha(SurfaceHandle source) {
    if (source == nullptr || SDL_GetVideoSurface() == nullptr)
        return source;
    SurfaceHandle converted(SDL_DisplayFormatAlpha(source.get()));
    if (converted == nullptr)
        return source;
    return converted;
}

// Copies w columns of every row, alpha included, without blending.
void CopyPixels(SDL_Surface* from, int fromX, SDL_Surface* to, int toX, int toY, int w) {
    PixelLock lockFrom(from);
    PixelLock lockTo(to);
    const int rows = std::min(from->h, to->h - toY);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < w; ++column)
            PutPixel(to, toX + column, toY + row, GetPixel(from, fromX + column, row));
}

SurfaceHandle CreateAlphaSurface(int w, int h) {
    SurfaceHandle made(SDL_CreateRGBSurface(SDL_SRCALPHA | SDL_HWSURFACE, w, h, 32, 0x00ff0000, 0x0000ff00,
                                            0x000000ff, 0xff000000));
    made = ToDisplayAlpha(std::move(made));
    if (made)
        SDL_FillRect(made.get(), nullptr, 0);
    return made;
}

}  // namespace

const std::string& InterfaceFontPath() {
    static const std::string path = "GUI/Qhytsdakx.ttf";
    return path;
}

FontHandle OpenFont(const std::string& path, int pointSize) {
    FontHandle font(TTF_OpenFont(path.c_str(), pointSize));
    if (font == nullptr)
        throw platform::GameError("Failed to open font " + path + "!");
    return font;
}

TextLabel::TextLabel() { font = OpenFont(InterfaceFontPath(), 24); }

void TextLabel::setPosition(int newX, int newY) {
    x = newX;
    y = newY;
}

void TextLabel::setFont(const std::string& path, int pointSize) {
    // Closed first: a font that fails to open leaves the label with none.
    font.reset();
    font = OpenFont(path, pointSize);
}

void TextLabel::setText(const std::string& newText) {
    if (newText == text)
        return;
    text = newText;
    render();
}

void TextLabel::setColour(SDL_Color newColour) {
    colour = newColour;
    render();
}

void TextLabel::freeSurface() {
    surface.reset();
    shown = Image();
    shownValid = false;
}

int TextLabel::measure(const std::string& s) const {
    int w = 0, h = 0;
    if (font == nullptr || s.empty() || TTF_SizeText(font.get(), s.c_str(), &w, &h) != 0)
        return 0;
    return w;
}

void TextLabel::render() {
    freeSurface();
    if (font == nullptr || text.empty())
        return;
    const int width = measure(text);
    if (boxWidth == -1 || width <= boxWidth || !wrap) {
        surface = ToDisplayAlpha(SurfaceHandle(TTF_RenderText_Blended(font.get(), text.c_str(), colour)));
        return;
    }
    renderWrapped();
}

void TextLabel::renderWrapped() {
    // A box narrower than one pixel holds nothing.
    if (boxWidth < 1)
        return;

    // Words too wide for the box are split with a hyphen. Every piece keeps at least one
    // letter, so a box narrower than one letter and "-" still ends: the piece is clipped.
    std::size_t pos = 0;
    while (pos != text.size()) {
        std::size_t next = text.find(' ', pos + 1);
        if (next == std::string::npos)
            next = text.size();
        std::string word = text.substr(pos, next - pos);
        word.erase(std::remove(word.begin(), word.end(), ' '), word.end());
        if (measure(word) > boxWidth) {
            const std::size_t firstLetter = text.find_first_not_of(' ', pos);
            const std::size_t shortest = firstLetter + 1;
            std::size_t cut = next;
            while (cut > shortest) {
                --cut;
                if (measure(text.substr(pos, cut - pos) + "-") <= boxWidth)
                    break;
            }
            // A one-letter word (or a lone hyphen) cannot be split any further.
            if (cut < next) {
                text = text.substr(0, cut) + "- " + text.substr(cut);
                next = cut;
            }
        }
        pos = next;
    }

    // Lines break at the last space that lets them fit and keep that space.
    std::vector<std::string> lines;
    std::string rest = text;
    while (!rest.empty()) {
        std::size_t cut = rest.size();
        int width = measure(rest);
        while (width > boxWidth) {
            std::size_t space = cut == 0 ? std::string::npos : rest.rfind(' ', cut - 1);
            if (space == std::string::npos) {
                // Nothing breaks it in time: the first word overflows and is clipped.
                space = rest.find(' ');
                cut = space == std::string::npos ? rest.size() : space;
                break;
            }
            cut = space;
            width = measure(rest.substr(0, cut));
        }
        if (cut == rest.size())
            cut = rest.size() - 1;
        lines.push_back(rest.substr(0, cut + 1));
        rest = rest.substr(cut + 1);
    }

    const int lineHeight = TTF_FontHeight(font.get());
    surface = CreateAlphaSurface(boxWidth, static_cast<int>(lines.size()) * std::max(1, lineHeight));
    if (surface == nullptr)
        return;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SurfaceHandle line =
            ToDisplayAlpha(SurfaceHandle(TTF_RenderText_Blended(font.get(), lines[i].c_str(), colour)));
        if (line == nullptr)
            continue;
        const int copyWidth = std::min(line->w, surface->w);
        const int xOffset = centred ? (boxWidth - copyWidth) / 2 : 0;
        CopyPixels(line.get(), 0, surface.get(), xOffset, static_cast<int>(i) * lineHeight, copyWidth);
    }
}

void TextLabel::draw() {
    if (surface == nullptr)
        return;
    // A text wider than its box shows its left part, or its middle when centred.
    int clipWidth = surface->w;
    int sourceX = 0;
    if (boxWidth != -1 && boxWidth < surface->w) {
        clipWidth = std::max(0, boxWidth);
        if (centred)
            sourceX = (surface->w - clipWidth) / 2;
    }
    if (clipWidth == 0)
        return;
    if (!shownValid || shownBox != clipWidth || shownOffset != sourceX) {
        if (sourceX == 0) {
            shown = Image(surface.get());
        } else {
            SurfaceHandle part = CreateAlphaSurface(clipWidth, surface->h);
            if (part == nullptr)
                return;
            CopyPixels(surface.get(), sourceX, part.get(), 0, 0, clipWidth);
            shown = Image(part.get());
        }
        shown.sourceRect.w = static_cast<Uint16>(clipWidth);
        shownBox = clipWidth;
        shownOffset = sourceX;
        shownValid = true;
    }
    int drawX = x;
    if (centred && boxWidth != -1 && (boxWidth - surface->w) / 2 > 0)
        drawX += (boxWidth - surface->w) / 2;
    FrameDrawQueue().Add(drawX, y, depth, false, shown);
}
