#include "media/slideshow.h"

#include <cmath>
#include <deque>
#include <memory>
#include <string>

#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "world/draw_queue.h"
#include "world/image.h"
#include "widgets/text_label.h"

namespace {
constexpr int kDisplayMs = 3000;
constexpr double kFadeRate = 1.5;
// In front of the game and the dialog's flag window, behind the dialog box itself.
constexpr int kSlideDepth = -999000;
constexpr int kHintMargin = 8;

struct SlideshowState {
    std::deque<std::unique_ptr<Image>> slideQueue;
    std::unique_ptr<Image> currentSlide;
    bool slideshowActive = false;
    bool slideShown = false;
    int slideFadeDirection = 0;
    bool slideVisible = false;
    bool slideHold = false;
    bool slidesSkippable = false;
    Timer slideTimer;
    // Names the keys that skip, small in a corner over the pictures.
    Image hintLetters;
    Image hintShadow;
};

SlideshowState& Show() {
    static SlideshowState state;
    return state;
}

void QueuePicture(const std::string& path) {
    Show().slideQueue.push_back(std::make_unique<Image>(path, 1, 0, 640, 480));
}

bool SkipRequested() {
    if (KeyPressed(kEscapeKey))
        return true;
    return Show().slidesSkippable && (ActionPressed("Action 1") || ActionPressed("Skip Dialog") ||
                                      KeyPressed(SDLK_RETURN) || KeyPressed(SDLK_KP_ENTER) || KeyPressed(SDLK_SPACE) ||
                                      MouseButtonPressed(SDL_BUTTON_LEFT));
}

// Light letters over a dark shadow read on any picture.
void RenderSkipHint(SlideshowState& s) {
    s.hintLetters = s.hintShadow = Image();
    const char* text = s.slidesSkippable ? "Enter, Space, Esc or a click: skip" : "Esc: skip";
    FontHandle font(TTF_OpenFont(InterfaceFontPath().c_str(), 16));
    if (font == nullptr)
        return;
    SurfaceHandle shadow(TTF_RenderText_Blended(font.get(), text, SDL_Color{20, 12, 8, 0}));
    SurfaceHandle letters(TTF_RenderText_Blended(font.get(), text, SDL_Color{236, 228, 210, 0}));
    if (shadow == nullptr || letters == nullptr)
        return;
    s.hintShadow = Image(shadow.get());
    s.hintLetters = Image(letters.get());
}

// At the top right, clear of the dialog box.
void DrawSkipHint(SlideshowState& s) {
    if (!s.hintLetters.HasSurface())
        return;
    const int x = 640 - kHintMargin - s.hintLetters.frameWidth;
    FrameDrawQueue().Add(x + 1, kHintMargin + 1, kSlideDepth - 1, false, s.hintShadow);
    FrameDrawQueue().Add(x, kHintMargin, kSlideDepth - 2, false, s.hintLetters);
}

}  // namespace

void QueueCutscene(const char* name, int first, int last, int missing) {
    for (int i = first; i <= last; ++i)
        if (i != missing)
            QueuePicture("GUI/Cutscenes/" + std::string(name) + std::to_string(i) + ".png");
}

void BeginCutscene(bool skippable) {
    ClearSlideQueue();
    Show().slidesSkippable = skippable;
    RenderSkipHint(Show());
}

void StartSlideshow() {
    SlideshowState& s = Show();
    s.slideFadeDirection = 1;
    s.slideshowActive = true;
    s.slideVisible = true;
    s.slideShown = false;
    SetCursorShown(false);
}

bool UpdateSlideshow() {
    SlideshowState& s = Show();
    bool skipped = false;
    if (s.slideshowActive) {
        const int alpha = static_cast<int>(std::floor(FadeAlpha()));
        if (alpha == 255 && s.slideFadeDirection == 1 && s.slideVisible) {
            // Fully black: the next picture goes up behind the curtain, or the show ends.
            s.currentSlide.reset();
            if (!s.slideQueue.empty()) {
                s.currentSlide = std::move(s.slideQueue.front());
                s.slideQueue.pop_front();
                s.slideShown = true;
            } else {
                s.slideShown = false;
                s.slideshowActive = false;
                SetCursorShown(true);
            }
            s.slideFadeDirection = -1;
            s.slideVisible = false;
        }
        if (alpha == 0 && !s.slideVisible) {
            s.slideTimer.Reset();
            s.slideVisible = true;
        }
        if (s.slideTimer.Elapsed() > kDisplayMs && s.slideVisible && !s.slideHold)
            s.slideFadeDirection = 1;
        if (SkipRequested()) {
            SetFadeAlpha(0);
            SetFadeRate(0);
            s.slideFadeDirection = 0;
            s.slideshowActive = false;
            s.slideShown = false;
            s.currentSlide.reset();
            ClearSlideQueue();
            SetCursorShown(true);
            skipped = true;
        }
        SetFadeRate(s.slideFadeDirection * kFadeRate);
        ConsumeEvents();
    }
    if (s.slideShown && s.currentSlide) {
        s.currentSlide->Animate();
        FrameDrawQueue().Add(0, 0, kSlideDepth, false, *s.currentSlide);
        DrawSkipHint(s);
    }
    return skipped;
}

bool SlideshowFinished() { return Show().slideQueue.empty() && !Show().slideShown; }
bool SlideshowActive() { return Show().slideshowActive; }
std::size_t SlideQueueSize() { return Show().slideQueue.size(); }
void HoldSlideshow() { Show().slideHold = true; }
void ReleaseSlideshow() { Show().slideHold = false; }

void ClearSlideQueue() {
    Show().slideQueue.clear();
    Show().slideVisible = false;
}
