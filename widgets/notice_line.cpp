#include "widgets/notice_line.h"

#include <deque>
#include <memory>

#include "app/input.h"
#include "app/timer.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"

namespace {

constexpr std::uint32_t kShownMs = 4000;
constexpr int kMargin = 10;
constexpr int kBottom = 474;
constexpr int kTextWidth = 620;
constexpr const char* kCloseHint = " (Any key closes this.)";

struct NoticeLine {
    std::deque<std::string> waiting;
    std::deque<std::string> lasting;
    std::string current;
    bool currentLasts = false;
    std::uint32_t shownSince = 0;
    std::unique_ptr<TextLabel> label;
    // The dark strip behind the text, made for the height last shown.
    Image strip;
    int stripHeight = -1;
    bool fontMissing = false;
};

NoticeLine& Line() {
    static NoticeLine line;
    return line;
}

// The label is made on the first message; without the font the message stays on standard
// error only.
TextLabel* Label() {
    NoticeLine& line = Line();
    if (!line.label && !line.fontMissing) {
        try {
            auto label = std::make_unique<TextLabel>();
            label->setFont(InterfaceFontPath(), 18);
            label->setBoxWidth(kTextWidth);
            label->setWrap(true);
            label->setPosition(kMargin, kBottom);
            label->setDepth(-1000);
            label->setColour(SDL_Color{255, 214, 90, 0});
            line.label = std::move(label);
        } catch (const platform::GameError&) {
            line.fontMissing = true;
        }
    }
    return line.label.get();
}

bool PlayerDismissed() {
    for (const SDL_Event& e : FrameEvents())
        if (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN)
            return true;
    return false;
}

// The label's lines stand on the foot of the screen, however many the text wraps into.
void Draw(NoticeLine& line, TextLabel& label) {
    label.setText(line.current + (line.currentLasts ? kCloseHint : ""));
    const SDL_Surface* text = label.getSurface();
    if (text == nullptr)
        return;
    const int height = text->h;
    label.setPosition(kMargin, kBottom - height);
    if (line.stripHeight != height) {
        line.strip = TranslucentRect(640, height + 8, SDL_Color{30, 12, 8, 0}, 170);
        line.stripHeight = height;
    }
    FrameDrawQueue().Add(0, kBottom - height - 4, -999, false, line.strip);
    label.draw();
}

}  // namespace

void ShowNotices(bool canDismiss) {
    NoticeLine& line = Line();
    for (std::string& message : platform::TakeLastingNotices())
        line.lasting.push_back(std::move(message));
    for (std::string& message : platform::TakeNotices())
        line.waiting.push_back(std::move(message));
    const std::uint32_t now = CurrentTicks();
    if (!line.current.empty()) {
        const bool over = line.currentLasts ? canDismiss && PlayerDismissed() : now - line.shownSince >= kShownMs;
        if (over)
            line.current.clear();
    }
    if (line.current.empty()) {
        std::deque<std::string>& next = !line.lasting.empty() ? line.lasting : line.waiting;
        if (!next.empty()) {
            line.currentLasts = &next == &line.lasting;
            line.current = std::move(next.front());
            next.pop_front();
            line.shownSince = now;
        }
    }
    if (line.current.empty())
        return;
    if (TextLabel* label = Label())
        Draw(line, *label);
}

const std::string& CurrentNotice() { return Line().current; }

void ClearNotices() {
    NoticeLine& line = Line();
    line.label.reset();
    line.waiting.clear();
    line.lasting.clear();
    line.current.clear();
    line.currentLasts = false;
    line.strip = Image();
    line.stripHeight = -1;
    line.fontMissing = false;
}
