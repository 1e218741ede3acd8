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

Image Highlight() { return TranslucentRect(kListW, kRowH, kAmber, 80); }

enum class Purpose { Open, Save };

// One row of the list: a file, a folder to enter, or the way up.
struct Entry {
    enum class Kind { Up, Folder, File } kind;
    std::string name;
};

// A part of a path the chooser may walk into: no hidden folders, nothing that climbs.
bool WalkableFolder(const std::string& name) { return !name.empty() && name.front() != '.'; }

std::vector<std::string> FolderParts(const std::string& path) {
    std::vector<std::string> parts;
    for (const fs::path& part : fs::path(path).lexically_normal().relative_path()) {
        const std::string text = part.string();
        if (text.empty() || text == ".")
            continue;
        if (!WalkableFolder(text))
            return {};
        parts.push_back(text);
    }
    return parts;
}

class Chooser {
public:
    Chooser(Purpose purpose, const FileChooserRequest& request)
        : purpose(purpose), request(request), folder(FolderParts(request.startFolder)), typed(request.startName) {
        List();
    }
    Chooser(const Chooser&) = delete;
    Chooser& operator=(const Chooser&) = delete;

    std::optional<std::string> Run();

private:
    std::string FolderText() const;
    void List();
    void Build();
    void HandleKey(const SDL_keysym& key);
    void HandleClicks();
    void Confirm();
    void Activate();
    void EnterFolder(const std::string& name);
    void NewFolder();
    void Select(int index);
    void Scroll(int rows);
    void Refresh();
    void Present();

    Purpose purpose;
    FileChooserRequest request;
    std::vector<std::string> folder;
    std::vector<Entry> files;

    std::string typed;
    int selected = -1;
    bool folderChosen = false;  // a folder row was picked last: Enter walks into it
    int top = 0;
    bool done = false;
    std::optional<std::string> answer;
    Uint32 lastClick = 0;
    int lastClickedRow = -1;
    int firstRow = 2;  // buttons before the rows: cancel, confirm and perhaps NEW FOLDER

    TextLabel* nameLabel = nullptr;
    TextLabel* messageLabel = nullptr;
    TextLabel* folderLabel = nullptr;
    TextLabel* emptyLabel = nullptr;
    ImageWidget* highlight = nullptr;
    std::vector<TextButton*> rows;
    FontHandle measureFont;
};

std::string Chooser::FolderText() const {
    std::string text;
    for (const std::string& part : folder)
        text += (text.empty() ? "" : "/") + part;
    return text;
}

void Chooser::List() {
    files.clear();
    const std::string here = FolderText();
    if (request.browseFolders) {
        if (!folder.empty())
            files.push_back({Entry::Kind::Up, ".."});
        std::vector<std::string> folders;
        std::error_code ec;
        for (fs::directory_iterator it(here.empty() ? "." : here, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            // Links are not followed: they could lead above the working folder.
            const std::string name = it->path().filename().string();
            if (fs::is_directory(it->symlink_status(typeError)) && WalkableFolder(name) &&
                name.size() <= kMaxNameLength && (!request.listsFolder || request.listsFolder(here, name)))
                folders.push_back(name);
        }
        std::sort(folders.begin(), folders.end());
        for (std::string& name : folders)
            files.push_back({Entry::Kind::Folder, std::move(name)});
    }
    for (std::string& name : ListMatchingFiles(request.pattern, here))
        if (!request.lists || request.lists(here, name))
            files.push_back({Entry::Kind::File, std::move(name)});
}

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
    if (purpose == Purpose::Save && request.browseFolders && request.refusesFolder) {
        TextButton* newFolder = CaptionButton("NEW FOLDER");
        r = newFolder->getRect();
        newFolder->setRect(kPanelX + kPanelW / 2 - r.w / 2, kButtonsY, r.w, r.h);
        firstRow = 3;
    }
    for (int i = 0; i < kRows; ++i)
        rows.push_back(CaptionButton(""));

    Label(kPanelX, kPanelY + 8, kPanelW, true, kAmber, request.title, 24);
    if (request.browseFolders)
        folderLabel = Label(kPanelX, kPanelY + 34, kPanelW, true, kFaded, "", 17);
    Label(kListX - 4, kFieldY + 2, -1, false, kParchment, "Name:", kTextPoints);
    nameLabel = Label(kFieldX + 8, kFieldY + 2, kFieldW - 16, false, kParchment, "_", kTextPoints);
    messageLabel = Label(kPanelX, kFieldY + kFieldH + 2, kPanelW, true, kEmber, "", kTextPoints);
    emptyLabel = Label(kListX, kListY + 4, kListW, true, kFaded, "", kTextPoints);
    measureFont = OpenFont(InterfaceFontPath(), kTextPoints);
}

void Chooser::Refresh() {
    for (int i = 0; i < kRows; ++i) {
        const int index = top + i;
        if (index < static_cast<int>(files.size())) {
            const Entry& entry = files[index];
            const bool isFile = entry.kind == Entry::Kind::File;
            rows[i]->setNormalColour(isFile ? kParchment : kAmber);
            rows[i]->setText(entry.kind == Entry::Kind::Up ? "..  (up a folder)"
                                                           : entry.name + (isFile ? "" : "/"));
            rows[i]->setRect(kListX + 6, kListY + i * kRowH, kListW - 12, kRowH - 1);
        } else {
            rows[i]->setRect(-2000, -2000, 0, 0);  // off screen, out of the mouse's reach
        }
    }
    emptyLabel->setText(files.empty() || (files.size() == 1 && files[0].kind == Entry::Kind::Up)
                            ? (request.browseFolders ? "No level files here yet." : "No files here yet.")
                            : "");
    emptyLabel->setPosition(kListX, kListY + 4 + (folder.empty() ? 0 : kRowH));
    if (folderLabel)
        folderLabel->setText(folder.empty() ? "in the game folder" : "in " + FolderText() + "/");
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
    folderChosen = files[selected].kind != Entry::Kind::File;
    if (!folderChosen)
        typed = files[selected].name;
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
    name = WithDefaultExtension(name, request.defaultExtension);
    const std::string here = FolderText();
    const std::string path = here.empty() ? name : here + "/" + name;
    std::error_code ec;
    if (purpose == Purpose::Open && !fs::is_regular_file(path, ec)) {
        messageLabel->setText("There is no file called " + name + ".");
        return;
    }
    if (purpose == Purpose::Save && fs::is_directory(path, ec)) {
        messageLabel->setText(name + " is a folder.");
        return;
    }
    if (request.refuses) {
        if (std::string refusal = request.refuses(path); !refusal.empty()) {
            messageLabel->setText(refusal);
            return;
        }
    }
    answer = path;
    done = true;
}

// Enter or a double click: walk into the chosen folder, or take the name.
void Chooser::Activate() {
    if (!folderChosen || selected < 0 || selected >= static_cast<int>(files.size())) {
        Confirm();
        return;
    }
    const Entry entry = files[selected];
    if (entry.kind == Entry::Kind::Up)
        folder.pop_back();
    else
        folder.push_back(entry.name);
    selected = -1;
    folderChosen = false;
    top = 0;
    messageLabel->setText("");
    List();
}

void Chooser::NewFolder() {
    const std::string name = Trim(typed);
    if (name.empty()) {
        messageLabel->setText("Type the new folder's name first.");
        return;
    }
    if (std::string refusal = request.refusesFolder(FolderText(), name); !refusal.empty()) {
        messageLabel->setText(refusal);
        return;
    }
    folder.push_back(name);
    typed.clear();
    selected = -1;
    folderChosen = false;
    top = 0;
    messageLabel->setText("");
    List();
}

void Chooser::HandleKey(const SDL_keysym& key) {
    switch (key.sym) {
    case SDLK_ESCAPE:
        done = true;
        return;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        Activate();
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
        folderChosen = false;
        messageLabel->setText("");
    }
}

void Chooser::HandleClicks() {
    const int clicked = clickedButton();
    if (clicked == 0) {
        done = true;
    } else if (clicked == 1) {
        Confirm();
    } else if (clicked == 2 && firstRow == 3) {
        NewFolder();
    } else if (clicked >= firstRow) {
        const int row = top + clicked - firstRow;
        const Uint32 now = SDL_GetTicks();
        const bool again = row == lastClickedRow && now - lastClick < kDoubleClickMs;
        lastClick = now;
        lastClickedRow = row;
        Select(row);
        if (again)
            Activate();
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

std::optional<std::string> Choose(Purpose purpose, const FileChooserRequest& request) {
    auto& answers = Settings().answers;
    if (!answers.empty()) {
        std::optional<std::string> preset = answers.front();
        answers.pop_front();
        return preset;
    }
    return Chooser(purpose, request).Run();
}

FileChooserRequest PlainRequest(const std::string& title, const std::string& pattern, const std::string& extension) {
    FileChooserRequest request;
    request.title = title;
    request.pattern = pattern;
    request.defaultExtension = extension;
    return request;
}

}  // namespace

std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& pattern,
                                            const std::string& defaultExtension) {
    return Choose(Purpose::Open, PlainRequest(title, pattern, defaultExtension));
}

std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& pattern,
                                            const std::string& defaultExtension) {
    return Choose(Purpose::Save, PlainRequest(title, pattern, defaultExtension));
}

std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request) { return Choose(Purpose::Save, request); }

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

std::vector<std::string> ListMatchingFiles(const std::string& pattern, const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
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
