#include "ui/custom_levels.h"

#include <memory>
#include <vector>

#include "app/game_state.h"
#include "content/registry.h"
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

void ShowLevel() {
    if (levelList.empty() || browserLevel < 0 || browserLevel >= static_cast<int>(levelList.size()))
        levelLabel->setText(kNoneFound);
    else
        levelLabel->setText(menu::ShortName(Registry().NameAt(levelList[static_cast<std::size_t>(browserLevel)])));
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
