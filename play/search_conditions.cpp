#include "play/search_conditions.h"

#include "app/timer.h"
#include "audio/sound.h"

SearchConditions::SearchConditions() : stepBefore(FixedTimerStep()), silentBefore(SoundEffectsSilent()) {
    SetFixedTimerStep(1.0);
    SetSoundEffectsSilent(true);
}

SearchConditions::~SearchConditions() {
    SetFixedTimerStep(stepBefore);
    SetSoundEffectsSilent(silentBefore);
}
