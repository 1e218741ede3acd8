#include "widgets/file_chooser.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"
#include "world/pixels.h"

namespace fs = std::filesystem;

namespace {

// The old dialogs had a 260-byte name buffer; names stay within it.
constexpr std::size_t kMaxNameLength = 259;
constexpr Uint32 kDoubleClickMs = 400;
constexpr Uint32 kFrameDelayMs = 10;

constexpr int kPanelX = 80, kPanelY = 40, kPanelW = 480, kPanelH = 400;
constexpr int kListX = 100, kListY = 100, kListW = 440, kRowH = 32, kRows = 7;
constexpr int kFieldX = 180, kFieldY = 336, kFieldW = 360, kFieldH = 36;
constexpr int kButtonsY = 396;
constexpr int kTextPoints = 21;

constexpr SDL_Color kParchment{244, 232, 204, 0};
constexpr SDL_Color kAmber{242, 172, 64, 0};
constexpr SDL_Color kEmber{214, 96, 52, 0};
constexpr SDL_Color kFaded{150, 140, 170, 0};

struct ChooserSettings {
    std::deque<std::optional<std::string>> answers;
    std::function<bool(int)> hook;
};

ChooserSettings& Settings() {
    static ChooserSettings settings;
    return settings;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// One glob: "*" any run, "?" any one character; letters match either case, as players
// coming from other systems expect of "*.RPL".
bool Glob(const std::string& name, const std::string& glob) {
    std::size_t n = 0, g = 0, starG = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (g < glob.size() && (glob[g] == '?' || Lower(glob[g]) == Lower(name[n]))) {
            ++n;
            ++g;
        } else if (g < glob.size() && glob[g] == '*') {
            starG = g++;
            starN = n;
        } else if (starG != std::string::npos) {
            g = starG + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == '*')
        ++g;
    return g == glob.size();
}

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Printable and safe in a file name on every system the game's files travel to.
bool TypableInName(int c) { return c >= 32 && c < 127 && std::string("/\\:*?\"<>|").find(static_cast<char>(c)) == std::string::npos; }

Uint32 Rgb(SDL_Surface* s, SDL_Color c) { return SDL_MapRGB(s->format, c.r, c.g, c.b); }

void Frame(SDL_Surface* s, int x, int y, int w, int h, SDL_Color edge, SDL_Color face) {
    SDL_Rect outer{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
    SDL_FillRect(s, &outer, Rgb(s, edge));
    SDL_Rect inner{static_cast<Sint16>(x + 2), static_cast<Sint16>(y + 2), static_cast<Uint16>(w - 4), static_cast<Uint16>(h - 4)};
    SDL_FillRect(s, &inner, Rgb(s, face));
}

// The frozen game behind, dimmed, with the chooser's panel, list and name field on it.
Image Backdrop() {
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr)
        return Image();
    SDL_Surface* scene = SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE);
    if (scene == nullptr)
        return Image();
    if (SDL_LockSurface(scene) == 0) {
        for (int y = 0; y < scene->h; ++y)
            for (int x = 0; x < scene->w; ++x) {
                Uint8 r, g, b;
                SDL_GetRGB(GetPixel(scene, x, y), scene->format, &r, &g, &b);
                PutPixel(scene, x, y, SDL_MapRGB(scene->format, r * 2 / 5, g * 2 / 5, b * 2 / 5 + 12));
            }
        SDL_UnlockSurface(scene);
    }
    Frame(scene, kPanelX, kPanelY, kPanelW, kPanelH, SDL_Color{242, 172, 64, 0}, SDL_Color{44, 38, 78, 0});
    Frame(scene, kListX - 4, kListY - 4, kListW + 8, kRows * kRowH + 8, SDL_Color{90, 76, 140, 0}, SDL_Color{18, 16, 42, 0});
    Frame(scene, kFieldX, kFieldY, kFieldW, kFieldH, SDL_Color{90, 76, 140, 0}, SDL_Color{24, 20, 34, 0});
    Image image(scene);
    SDL_FreeSurface(scene);
    return image;
}

Image Highlight() {
    SDL_Surface* bar = SDL_CreateRGBSurface(SDL_SRCALPHA, kListW, kRowH, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000);
    if (bar == nullptr)
        return Image();
    SDL_FillRect(bar, nullptr, SDL_MapRGBA(bar->format, 242, 172, 64, 80));
    Image image(bar);
    SDL_FreeSurface(bar);
    return image;
}

enum class Purpose { Open, Save };

class Chooser {
public:
    Chooser(Purpose purpose, const std::string& title, const std::string& pattern, const std::string& extension)
        : purpose(purpose), title(title), extension(extension), files(ListMatchingFiles(pattern)) {}
    Chooser(const Chooser&) = delete;
    Chooser& operator=(const Chooser&) = delete;

    std::optional<std::string> Run();

private:
    void Build();
    void HandleKey(const SDL_keysym& key);
    void HandleClicks();
    void Confirm();
    void Select(int index);
    void Scroll(int rows);
    void Refresh();
    void Present();

    Purpose purpose;
    std::string title;
    std::string extension;
    std::vector<std::string> files;

    std::string typed;
    int selected = -1;
    int top = 0;
    bool done = false;
    std::optional<std::string> answer;
    Uint32 lastClick = 0;
    int lastClickedRow = -1;

    TextLabel* nameLabel = nullptr;
    TextLabel* messageLabel = nullptr;
    ImageWidget* highlight = nullptr;
    std::vector<TextButton*> rows;
    FontHandle measureFont;
};

TextLabel* Label(int x, int y, int box, bool centred, SDL_Color colour, const std::string& text, int points) {
    auto label = std::make_unique<TextLabel>();
    label->setPosition(x, y);
    label->setDepth(0);
    label->setBoxWidth(box);
    label->setCentred(centred);
    label->setFont(InterfaceFontPath(), points);
    label->setColour(colour);
    label->setText(text);
    return addLabel(std::move(label));
}

TextButton* CaptionButton(const std::string& caption) {
    auto button = std::make_unique<TextButton>();
    button->setFont(InterfaceFontPath(), kTextPoints);
    button->setNormalColour(kParchment);
    button->setHoverColour(kAmber);
    button->setPressedColour(kEmber);
    button->setText(caption);
    button->setDepth(0);
    return addButton(std::move(button));
}

void Chooser::Build() {
    addImageWidget(std::make_unique<ImageWidget>(Backdrop(), 0, 0, 100));
    highlight = addImageWidget(std::make_unique<ImageWidget>(Highlight(), kListX, -1000, 50));

    // Buttons 0 and 1 are cancel and confirm; the rows follow.
    TextButton* cancel = CaptionButton("CANCEL");
    SDL_Rect r = cancel->getRect();
    cancel->setRect(kPanelX + 30, kButtonsY, r.w, r.h);
    TextButton* confirm = CaptionButton(purpose == Purpose::Open ? "OPEN" : "SAVE");
    r = confirm->getRect();
    confirm->setRect(kPanelX + kPanelW - 30 - r.w, kButtonsY, r.w, r.h);
    for (int i = 0; i < kRows; ++i)
        rows.push_back(CaptionButton(""));

    Label(kPanelX, kPanelY + 10, kPanelW, true, kAmber, title, 24);
    Label(kListX - 4, kFieldY + 2, -1, false, kParchment, "Name:", kTextPoints);
    nameLabel = Label(kFieldX + 8, kFieldY + 2, kFieldW - 16, false, kParchment, "_", kTextPoints);
    messageLabel = Label(kPanelX, kFieldY + kFieldH + 2, kPanelW, true, kEmber, "", kTextPoints);
    if (files.empty())
        Label(kListX, kListY + 4, kListW, true, kFaded, "No files here yet.", kTextPoints);
    measureFont = OpenFont(InterfaceFontPath(), kTextPoints);
}

void Chooser::Refresh() {
    for (int i = 0; i < kRows; ++i) {
        const int index = top + i;
        if (index < static_cast<int>(files.size())) {
            rows[i]->setText(files[index]);
            rows[i]->setRect(kListX + 6, kListY + i * kRowH, kListW - 12, kRowH - 1);
        } else {
            rows[i]->setRect(-2000, -2000, 0, 0);  // off screen, out of the mouse's reach
        }
    }
    const int shownRow = selected - top;
    highlight->y = shownRow >= 0 && shownRow < kRows ? kListY + shownRow * kRowH : -1000;

    // A long name shows its end, where the typing happens.
    std::string visible = typed + "_";
    int w = 0, h = 0;
    while (visible.size() > 1 && TTF_SizeText(measureFont.get(), visible.c_str(), &w, &h) == 0 && w > kFieldW - 16)
        visible.erase(0, 1);
    nameLabel->setText(visible);
}

void Chooser::Select(int index) {
    if (files.empty())
        return;
    selected = std::clamp(index, 0, static_cast<int>(files.size()) - 1);
    typed = files[selected];
    if (selected < top)
        top = selected;
    if (selected >= top + kRows)
        top = selected - kRows + 1;
    messageLabel->setText("");
}

void Chooser::Scroll(int delta) {
    const int most = std::max(0, static_cast<int>(files.size()) - kRows);
    top = std::clamp(top + delta, 0, most);
}

void Chooser::Confirm() {
    std::string name = Trim(typed);
    if (name.empty()) {
        messageLabel->setText(purpose == Purpose::Open ? "Choose a file first." : "Type a name first.");
        return;
    }
    if (name == "." || name == "..") {
        messageLabel->setText("That is not a file name.");
        return;
    }
    name = WithDefaultExtension(name, extension);
    std::error_code ec;
    if (purpose == Purpose::Open && !fs::is_regular_file(name, ec)) {
        messageLabel->setText("There is no file called " + name + ".");
        return;
    }
    if (purpose == Purpose::Save && fs::is_directory(name, ec)) {
        messageLabel->setText(name + " is a folder.");
        return;
    }
    answer = name;
    done = true;
}

void Chooser::HandleKey(const SDL_keysym& key) {
    switch (key.sym) {
    case SDLK_ESCAPE:
        done = true;
        return;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        Confirm();
        return;
    case SDLK_UP:
        Select(selected < 0 ? 0 : selected - 1);
        return;
    case SDLK_DOWN:
        Select(selected + 1);
        return;
    case SDLK_PAGEUP:
        Select(std::max(0, selected) - kRows);
        return;
    case SDLK_PAGEDOWN:
        Select(selected + kRows);
        return;
    case SDLK_HOME:
        Select(0);
        return;
    case SDLK_END:
        Select(static_cast<int>(files.size()) - 1);
        return;
    case SDLK_BACKSPACE:
        if (!typed.empty())
            typed.pop_back();
        return;
    default:
        break;
    }
    // Scripted input carries no character, only the key.
    const int c = key.unicode != 0 ? key.unicode : static_cast<int>(key.sym);
    if (TypableInName(c) && typed.size() < kMaxNameLength) {
        typed += static_cast<char>(c);
        messageLabel->setText("");
    }
}

void Chooser::HandleClicks() {
    const int clicked = clickedButton();
    if (clicked == 0) {
        done = true;
    } else if (clicked == 1) {
        Confirm();
    } else if (clicked >= 2) {
        const int row = top + clicked - 2;
        const Uint32 now = SDL_GetTicks();
        const bool again = row == lastClickedRow && now - lastClick < kDoubleClickMs;
        lastClick = now;
        lastClickedRow = row;
        Select(row);
        if (again)
            Confirm();
    }
}

void Chooser::Present() {
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr) {
        FrameDrawQueue().Clear();
        return;
    }
    FrameDrawQueue().DrawAndClear(screen);
    SDL_Flip(screen);
    ForgetPresentedFrame();
}

// What the chooser changes while it runs, put back however it ends.
class ModalState {
public:
    ModalState() : unicodeBefore(SDL_EnableUNICODE(1)), cursorBefore(CursorShown()),
                   queued(FrameDrawQueue().Requests()) {
        SetCursorShown(true);
        FrameDrawQueue().Clear();
    }
    ~ModalState() {
        // Nothing the chooser saw may act again in the caller's frame: no key, no click,
        // no secret typed into a name.
        ConsumeEvents();
        ClearSecrets();
        FrameDrawQueue().Clear();
        for (const DrawRequest& r : queued)
            FrameDrawQueue().Add(r.x, r.y, r.depth, r.useXY, r.image);
        SetCursorShown(cursorBefore);
        SDL_EnableUNICODE(unicodeBefore);
    }
    ModalState(const ModalState&) = delete;
    ModalState& operator=(const ModalState&) = delete;

private:
    int unicodeBefore;
    bool cursorBefore;
    std::vector<DrawRequest> queued;
};

std::optional<std::string> Chooser::Run() {
    bool quit = false;
    {
        ModalState modal;
        WidgetLayer layer;
        Build();
        Refresh();
        for (int frame = 0; !done; ++frame) {
            if (Settings().hook && !Settings().hook(frame)) {
                done = true;
                break;
            }
            PumpEvents();
            const std::vector<SDL_Event> events = FrameEvents();
            for (const SDL_Event& e : events) {
                if (e.type == SDL_QUIT) {
                    quit = done = true;
                } else if (e.type == SDL_KEYDOWN) {
                    HandleKey(e.key.keysym);
                } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_WHEELUP) {
                    Scroll(-1);
                } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_WHEELDOWN) {
                    Scroll(1);
                }
                if (done)
                    break;
            }
            Refresh();
            FrameDrawQueue().Clear();
            updateWidgets();
            if (!done)
                HandleClicks();
            Present();
            FrameTick();
            if (!done)
                SDL_Delay(kFrameDelayMs);
        }
    }
    // A closed window still ends the game.
    if (quit) {
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    }
    return answer;
}

std::optional<std::string> Choose(Purpose purpose, const std::string& title, const std::string& pattern,
                                  const std::string& extension) {
    auto& answers = Settings().answers;
    if (!answers.empty()) {
        std::optional<std::string> preset = answers.front();
        answers.pop_front();
        return preset;
    }
    return Chooser(purpose, title, pattern, extension).Run();
}

}  // namespace

std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& pattern,
                                            const std::string& defaultExtension) {
    return Choose(Purpose::Open, title, pattern, defaultExtension);
}

std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& pattern,
                                            const std::string& defaultExtension) {
    return Choose(Purpose::Save, title, pattern, defaultExtension);
}

void SetFileChooserAnswer(std::optional<std::string> answer) { Settings().answers.push_back(std::move(answer)); }
void ClearFileChooserAnswers() { Settings().answers.clear(); }
void SetFileChooserFrameHook(std::function<bool(int)> hook) { Settings().hook = std::move(hook); }

bool MatchesFilePattern(const std::string& name, const std::string& pattern) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = pattern.find(';', start);
        const std::string glob = Trim(pattern.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (Glob(name, glob.empty() ? "*" : glob))
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

std::string WithDefaultExtension(const std::string& name, const std::string& defaultExtension) {
    if (defaultExtension.empty() || defaultExtension == ".")
        return name;
    const std::size_t slash = name.rfind('/');
    const std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
    if (last.find('.') != std::string::npos)
        return name;
    return name + (defaultExtension.front() == '.' ? "" : ".") + defaultExtension;
}

std::vector<std::string> ListMatchingFiles(const std::string& pattern) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (name.size() <= kMaxNameLength && MatchesFilePattern(name, pattern))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}
