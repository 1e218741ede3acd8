#pragma once
// Entry, per-frame step and exit of every menu screen, as the state machine calls them.
#include "ui/credits.h"
#include "ui/custom_levels.h"
#include "ui/level_select.h"
#include "ui/settings_menu.h"
#include "ui/title_menu.h"

