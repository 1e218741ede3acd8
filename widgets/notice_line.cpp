#include "widgets/notice_line.h"

#include <deque>
#include <memory>

#include "app/timer.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "widgets/text_label.h"

namespace {

constexpr std::uint32_t kShownMs = 4000;

struct NoticeLine {
    std::deque<std::string> waiting;
    std::string current;
    std::uint32_t shownSince = 0;
    std::unique_ptr<TextLabel> label;
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
            label->setBoxWidth(620);
            label->setWrap(true);
            label->setPosition(10, 420);
            label->setDepth(-1000);
            label->setColour(SDL_Color{255, 214, 90, 0});
            line.label = std::move(label);
        } catch (const platform::GameError&) {
            line.fontMissing = true;
        }
    }
    return line.label.get();
}

}  // namespace

void ShowNotices() {
    NoticeLine& line = Line();
    for (std::string& message : platform::TakeNotices())
        line.waiting.push_back(std::move(message));
    const std::uint32_t now = CurrentTicks();
    if (!line.current.empty() && now - line.shownSince >= kShownMs)
        line.current.clear();
    if (line.current.empty() && !line.waiting.empty()) {
        line.current = std::move(line.waiting.front());
        line.waiting.pop_front();
        line.shownSince = now;
    }
    if (line.current.empty())
        return;
    if (TextLabel* label = Label()) {
        label->setText(line.current);
        label->draw();
    }
}

const std::string& CurrentNotice() { return Line().current; }

void ClearNotices() {
    NoticeLine& line = Line();
    line.label.reset();
    line.waiting.clear();
    line.current.clear();
    line.fontMissing = false;
}
