#include "editor/level_form.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/input.h"
#include "content/template.h"
#include "editor/editor_panel.h"
#include "platform/resources.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"

namespace {

constexpr int kFieldX = kPanelX + 96, kFieldW = 248, kFieldH = 28;
constexpr int kFirstRowY = kPanelY + 44, kRowStep = 36;
constexpr std::size_t kMaxTyped[3] = {kMaxQualifiedName, 200, 6};
const char* const kCaptions[3] = {"Name", "Music", "Par"};

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool IsBuiltInTrack(const std::string& name) { return !name.empty() && platform::FindResource(name, "OGG").has_value(); }

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string ReadLevelName(const std::string& text, std::string& name) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty())
        return "The level needs a name.";
    if (trimmed.size() > kMaxQualifiedName)
        return "A level name has at most " + std::to_string(kMaxQualifiedName) + " characters.";
    for (char c : trimmed) {
        const auto u = static_cast<unsigned char>(c);
        // The module's name comes before a "/" in a level's full name, so a level's own has none.
        if (u < 32 || u == 127 || c == '/')
            return "A level name can't hold \"/\" or control characters.";
    }
    name = trimmed;
    return "";
}

std::string ReadPar(const std::string& text, std::int32_t& par) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        par = 0;
        return "";
    }
    const std::string bad = "Par must be a whole number from 0 to " + std::to_string(kMaxPar) + ".";
    if (!std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return bad;
    // Leading zeros aside, more digits than the largest par has is too much.
    const std::size_t first = std::min(trimmed.find_first_not_of('0'), trimmed.size());
    if (trimmed.size() - first > std::to_string(kMaxPar).size())
        return bad;
    const std::int32_t value = trimmed.size() == first ? 0 : std::stoi(trimmed.substr(first));
    if (value > kMaxPar)
        return bad;
    par = value;
    return "";
}

std::string ReadMusicTrack(const std::string& text, std::string& path) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        path.clear();
        return "";
    }
    if (trimmed.rfind("RS#", 0) == 0 || trimmed.rfind("rs#", 0) == 0) {
        const std::string name = Upper(trimmed.substr(3));
        if (!IsBuiltInTrack(name))
            return "There is no built-in track called " + trimmed.substr(3) + ".";
        path = "RS#" + name;
        return "";
    }
    if (IsBuiltInTrack(Upper(trimmed))) {
        path = "RS#" + Upper(trimmed);
        return "";
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(trimmed, error))
        return "No track or music file called " + trimmed + ".";
    path = trimmed;
    return "";
}

LevelForm::LevelForm(const LevelProperties& current) : level(current), unicodeBefore(SDL_EnableUNICODE(1)) {
    typed[0] = level.name;
    // A built-in track shows by its name alone, as it is typed.
    typed[1] = level.musicThemePath.rfind("RS#", 0) == 0 ? level.musicThemePath.substr(3) : level.musicThemePath;
    typed[2] = level.turnsPar == 0 ? "" : std::to_string(level.turnsPar);

    panel = AddPanelPicture();
    title = AddPanelLabel(kPanelX, kPanelY + 6, kPanelW, true, kPanelAmber, "Level", 26);
    for (int i = 0; i < 3; ++i) {
        const int y = kFirstRowY + i * kRowStep;
        captions[i] = AddPanelLabel(kPanelX + 20, y + 2, -1, false, kPanelParchment, kCaptions[i], 21);
        boxes[i] = AddFieldBox(kFieldX, y, kFieldW, kFieldH);
        values[i] = AddPanelLabel(kFieldX + 6, y + 2, kFieldW - 12, false, kPanelParchment, "", 21);
        // An unseen button over the box: a click there chooses the field.
        auto button = std::make_unique<Button>();
        button->setRect(kFieldX, y, kFieldW, kFieldH);
        button->setDepth(kPanelDepth);
        fieldButtons[i] = addButton(std::move(button));
    }
    hint = AddPanelLabel(kPanelX, kFirstRowY + 3 * kRowStep - 4, kPanelW, true, kPanelFaded,
                         "Music: empty, TRACK1 to TRACK9, or a file", 17);
    messageLabel = AddPanelLabel(kPanelX, kFirstRowY + 3 * kRowStep + 16, kPanelW, true, kPanelEmber, "", 18);
    applyButton = AddPanelButton("APPLY", kPanelX + 90);
    cancelButton = AddPanelButton("CANCEL", kPanelX + kPanelW - 90);
    measureFont = OpenFont(InterfaceFontPath(), 21);
    Refresh();
}

LevelForm::~LevelForm() {
    removeImageWidget(panel);
    removeLabel(title);
    for (int i = 0; i < 3; ++i) {
        removeLabel(captions[i]);
        removeImageWidget(boxes[i]);
        removeLabel(values[i]);
        removeButton(fieldButtons[i]);
    }
    removeLabel(hint);
    removeLabel(messageLabel);
    removeButton(applyButton);
    removeButton(cancelButton);
    SDL_EnableUNICODE(unicodeBefore);
}

void LevelForm::Apply() {
    LevelProperties next = level;
    std::string why = ReadLevelName(typed[0], next.name);
    if (why.empty())
        why = ReadMusicTrack(typed[1], next.musicThemePath);
    if (why.empty())
        why = ReadPar(typed[2], next.turnsPar);
    if (!why.empty()) {
        message = why;
        return;
    }
    level = next;
    message.clear();
    applied = true;
}

void LevelForm::Type(const SDL_keysym& key) {
    const int at = static_cast<int>(focus);
    switch (key.sym) {
    case SDLK_ESCAPE:
        cancelled = true;
        return;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        Apply();
        return;
    case SDLK_TAB:
        focus = static_cast<Field>((at + ((key.mod & KMOD_SHIFT) ? 2 : 1)) % 3);
        return;
    case SDLK_DOWN:
        focus = static_cast<Field>((at + 1) % 3);
        return;
    case SDLK_UP:
        focus = static_cast<Field>((at + 2) % 3);
        return;
    case SDLK_BACKSPACE:
        if (!typed[at].empty())
            typed[at].pop_back();
        return;
    default:
        break;
    }
    // Scripted input carries no character, only the key.
    const int c = key.unicode != 0 ? key.unicode : static_cast<int>(key.sym);
    if (c >= 32 && c < 127 && typed[at].size() < kMaxTyped[at])
        typed[at] += static_cast<char>(c);
}

void LevelForm::Refresh() {
    for (int i = 0; i < 3; ++i) {
        std::string shown = typed[i] + (static_cast<int>(focus) == i ? "_" : "");
        // A long value shows its end, where the typing happens.
        int w = 0, h = 0;
        while (shown.size() > 1 && TTF_SizeText(measureFont.get(), shown.c_str(), &w, &h) == 0 && w > kFieldW - 12)
            shown.erase(0, 1);
        values[i]->setText(shown);
        values[i]->setColour(static_cast<int>(focus) == i ? kPanelAmber : kPanelParchment);
    }
    messageLabel->setText(message);
}

LevelForm::Result LevelForm::Update() {
    for (const SDL_Event& e : FrameEvents()) {
        if (e.type == SDL_KEYDOWN)
            Type(e.key.keysym);
        if (applied || cancelled)
            break;
    }
    for (int i = 0; i < 3 && !applied && !cancelled; ++i)
        if (fieldButtons[i]->isPushed() || fieldButtons[i]->isClicked())
            focus = static_cast<Field>(i);
    if (!applied && !cancelled && applyButton->isClicked())
        Apply();
    if (!applied && cancelButton->isClicked())
        cancelled = true;
    Refresh();
    if (applied)
        return Result::Applied;
    return cancelled ? Result::Cancelled : Result::Open;
}
