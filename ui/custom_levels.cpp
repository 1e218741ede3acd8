#include "ui/custom_levels.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>
#include <vector>

#include "app/game_state.h"
#include "content/registry.h"
#include "platform/notice.h"
#include "platform/sdl_handles.h"
#include "ui/menu_parts.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"

namespace {
constexpr const char* kNoneFound = "None found!";
constexpr const char* kCampaign = "Main";

int browserModule = 0;
int browserLevel = 0;
std::vector<int> levelList;
TextLabel* moduleLabel = nullptr;
TextLabel* levelLabel = nullptr;
ImageWidget* thumbnail = nullptr;

// The level's picture at half its size, to the left of GO, where the panel has room for it.
constexpr int kThumbnailX = 150, kThumbnailY = 306;
constexpr SDL_Color kThumbnailFrame{96, 60, 36, 0};

bool CampaignHidden() { return !CameFromEditor(); }

std::string ModuleName(int module) {
    const ModuleRegistry& registry = Registry();
    return module >= 0 && module < registry.ModuleCount() ? registry.ModuleNameAt(module) : std::string();
}

void BuildLevelList() {
    levelList.clear();
    const ModuleRegistry& registry = Registry();
    if (browserModule < 0 || browserModule >= registry.ModuleCount())
        return;
    if (CampaignHidden() && ModuleName(browserModule) == kCampaign)
        return;
    for (int position : registry.TemplatesOfModule(browserModule))
        if (registry.TypeAt(position) == "Level")
            levelList.push_back(position);
}

// Each pixel the average of four, with a frame drawn round the edge.
SurfaceHandle HalfSizeFramed(SDL_Surface* picture) {
    SurfaceHandle full(SDL_CreateRGBSurface(SDL_SWSURFACE, picture->w, picture->h, 32, 0xff0000, 0xff00, 0xff, 0));
    SurfaceHandle half(SDL_CreateRGBSurface(SDL_SWSURFACE, picture->w / 2, picture->h / 2, 32, 0xff0000, 0xff00, 0xff, 0));
    if (!full || !half || half->w < 3 || half->h < 3 || SDL_BlitSurface(picture, nullptr, full.get(), nullptr) != 0)
        return nullptr;
    const auto* from = static_cast<const Uint32*>(full->pixels);
    auto* to = static_cast<Uint32*>(half->pixels);
    const int fromRow = full->pitch / 4, toRow = half->pitch / 4;
    for (int y = 0; y < half->h; ++y)
        for (int x = 0; x < half->w; ++x) {
            Uint32 sum[3] = {0, 0, 0};
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const Uint32 p = from[(2 * y + dy) * fromRow + 2 * x + dx];
                    sum[0] += (p >> 16) & 0xff;
                    sum[1] += (p >> 8) & 0xff;
                    sum[2] += p & 0xff;
                }
            to[y * toRow + x] = (sum[0] / 4) << 16 | (sum[1] / 4) << 8 | sum[2] / 4;
        }
    const Uint32 frame = SDL_MapRGB(half->format, kThumbnailFrame.r, kThumbnailFrame.g, kThumbnailFrame.b);
    for (SDL_Rect edge : {SDL_Rect{0, 0, static_cast<Uint16>(half->w), 2},
                          SDL_Rect{0, static_cast<Sint16>(half->h - 2), static_cast<Uint16>(half->w), 2},
                          SDL_Rect{0, 0, 2, static_cast<Uint16>(half->h)},
                          SDL_Rect{static_cast<Sint16>(half->w - 2), 0, 2, static_cast<Uint16>(half->h)}})
        SDL_FillRect(half.get(), &edge, frame);
    return half;
}

// A level without a picture shows none; a picture that cannot be read shows none and says so.
void ShowThumbnail(const std::string& level) {
    if (thumbnail) {
        removeImageWidget(thumbnail);
        thumbnail = nullptr;
    }
    const std::string path = level.empty() ? std::string() : Registry().LevelPreviewPath(level);
    if (path.empty())
        return;
    SurfaceHandle picture(IMG_Load(path.c_str()));
    if (!picture) {
        platform::Notify("No preview for \"" + level + "\": " + IMG_GetError());
        return;
    }
    if (SurfaceHandle half = HalfSizeFramed(picture.get()))
        thumbnail = addImageWidget(std::make_unique<ImageWidget>(Image(half.get()), kThumbnailX, kThumbnailY, 50));
}

void ShowLevel() {
    if (levelList.empty() || browserLevel < 0 || browserLevel >= static_cast<int>(levelList.size())) {
        levelLabel->setText(kNoneFound);
        ShowThumbnail("");
        return;
    }
    const std::string level = Registry().NameAt(levelList[static_cast<std::size_t>(browserLevel)]);
    levelLabel->setText(menu::ShortName(level));
    ShowThumbnail(level);
}

// Steps the shown module by `step`, wrapping, and past the hidden campaign.
void StepModule(int step) {
    const int count = Registry().ModuleCount();
    if (count == 0) {
        moduleLabel->setText(kNoneFound);
    } else {
        browserModule = ((browserModule + step) % count + count) % count;
        if (CampaignHidden() && ModuleName(browserModule) == kCampaign)
            browserModule = ((browserModule + step) % count + count) % count;
        if (CampaignHidden() && ModuleName(browserModule) == kCampaign)
            moduleLabel->setText(kNoneFound);
        else
            moduleLabel->setText(ModuleName(browserModule));
    }
    browserLevel = 0;
    BuildLevelList();
    ShowLevel();
}

void StepLevel(int step) {
    if (levelList.empty())
        return;
    const int count = static_cast<int>(levelList.size());
    browserLevel = ((browserLevel + step) % count + count) % count;
    ShowLevel();
}
}  // namespace

void CustomLevelsEntry() {
    const int count = Registry().ModuleCount();
    std::string shown = ModuleName(browserModule);
    if (shown.empty()) {
        shown = kNoneFound;
    } else if (CampaignHidden() && shown == kCampaign) {
        if (browserModule < count - 1)
            shown = ModuleName(++browserModule);
        else
            shown = kNoneFound;
    }
    moduleLabel = menu::AddLabel(160, 170, 320, true, 34, menu::kTextNormal, -1, shown);
    levelLabel = menu::AddLabel(160, 220, 320, true, 34, menu::kTextNormal, -1, "");
    BuildLevelList();
    if (browserLevel < 0 || browserLevel >= static_cast<int>(levelList.size()))
        browserLevel = 0;
    ShowLevel();

    menu::AddPicture("GUI/TitleScreenBG.png", 100);
    menu::AddPicture("GUI/TitleScreenMenu.png", 75);
    menu::AddScanlines();
    menu::AddPictureButton("GUI/ButtonLeft.png", 136, 180, 24, 24);
    menu::AddPictureButton("GUI/ButtonRight.png", 480, 180, 24, 24);
    menu::AddPictureButton("GUI/ButtonLeft.png", 136, 230, 24, 24);
    menu::AddPictureButton("GUI/ButtonRight.png", 480, 230, 24, 24);
    menu::CentreButton(menu::AddTextButton("GO", 96), 320, 280);
    SetFocusOrder({0, 1, 2, 3, 4});
    SetFocusedButton(4);
    menu::StartTitleMusic();
}

void CustomLevelsUpdate() {
    switch (clickedButton()) {
    case 0:
        StepModule(-1);
        break;
    case 1:
        StepModule(1);
        break;
    case 2:
        StepLevel(-1);
        break;
    case 3:
        StepLevel(1);
        break;
    default:
        break;
    }
}

void ResetCustomLevelsBrowser() {
    browserModule = browserLevel = 0;
    levelList.clear();
}

void CustomLevelsExit() {
    moduleLabel = levelLabel = nullptr;
    thumbnail = nullptr;
    clearWidgets();
}

std::string CustomLevelsChosenLevel() {
    BuildLevelList();
    if (levelList.empty() || browserLevel < 0 || browserLevel >= static_cast<int>(levelList.size()))
        return "";
    return Registry().NameAt(levelList[static_cast<std::size_t>(browserLevel)]);
}

std::string CustomLevelsModuleText() { return moduleLabel ? moduleLabel->getText() : std::string(); }
std::string CustomLevelsLevelText() { return levelLabel ? levelLabel->getText() : std::string(); }
