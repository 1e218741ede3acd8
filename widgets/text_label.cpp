#include "widgets/text_label.h"

#include <algorithm>
#include <string_view>
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

    // A text's width never shrinks as letters are added (the font library measures the
    // extent of the glyphs placed so far), so whether a piece fits is found from its start,
    // measuring only about a line's worth: the cost grows with the text, not its square.
    auto fits = [&](std::string_view piece) { return measure(std::string(piece)) <= boxWidth; };
    auto fitsFromStart = [&](std::string_view piece) {
        for (std::size_t length = 64; length < piece.size(); length *= 2)
            if (!fits(piece.substr(0, length)))
                return false;
        return fits(piece);
    };

    // Words too wide for the box are split with a hyphen. Every piece keeps at least one
    // letter, so a box narrower than one letter and "-" still ends: the piece is clipped.
    // A split piece continues as a word of its own, led by the space after the hyphen.
    const std::string source = text;
    std::string split;
    split.reserve(source.size());
    bool spaceLed = false;  // the word starts at a space the split put there
    std::size_t pos = 0;
    while (pos != source.size()) {
        std::size_t next = source.find(' ', spaceLed ? pos : pos + 1);
        if (next == std::string::npos)
            next = source.size();
        const std::string lead = spaceLed ? " " : "";
        // Only its first character can be a space.
        std::string_view word = std::string_view(source).substr(pos, next - pos);
        if (!word.empty() && word.front() == ' ')
            word.remove_prefix(1);
        std::size_t cut = next;
        if (!fitsFromStart(word)) {
            const std::size_t shortest = (spaceLed ? pos : source.find_first_not_of(' ', pos)) + 1;
            auto pieceFits = [&](std::size_t end) { return fits(lead + source.substr(pos, end - pos) + "-"); };
            if (shortest < next) {
                cut = shortest;
                while (cut + 1 < next && pieceFits(cut + 1))
                    ++cut;
            }
        }
        split += lead;
        split.append(source, pos, cut - pos);
        if (cut < next) {
            // A one-letter word (or a lone hyphen) cannot be split any further.
            split += "-";
            spaceLed = true;
        } else {
            spaceLed = false;
        }
        pos = cut;
    }
    text = split;

    // Lines break at the last space that lets them fit and keep that space.
    std::vector<std::string> lines;
    const std::string_view all = text;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::string_view rest = all.substr(start);
        std::size_t cut = std::string_view::npos;
        std::size_t space = rest.find(' ');
        while (space != std::string_view::npos && fits(rest.substr(0, space))) {
            cut = space;
            space = rest.find(' ', space + 1);
        }
        if (space == std::string_view::npos && fitsFromStart(rest))
            cut = rest.size() - 1;  // the rest fits whole
        else if (cut == std::string_view::npos)
            // Nothing breaks it in time: the first word overflows and is clipped.
            cut = space == std::string_view::npos ? rest.size() - 1 : space;
        lines.emplace_back(rest.substr(0, cut + 1));
        start += cut + 1;
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
