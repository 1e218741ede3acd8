#include "content/object_templates.h"

#include "content/key_lines.h"
#include "content/registry.h"
#include "world/breakable.h"
#include "world/button_po.h"
#include "world/dir_changer.h"
#include "world/entity.h"
#include "world/trigger.h"

namespace {

Image SpriteCopy(const std::string& name) { return *Registry().NewSprite(name); }
Sound SoundCopy(const std::string& name) { return *Registry().NewSound(name); }

template <class T>
TemplateProduct AsProduct(std::unique_ptr<T> object) {
    return std::unique_ptr<Entity>(std::move(object));
}

}  // namespace

void EntityTemplate::Load(std::istream& text, const std::string& prefix) {
    Template::Load(text, prefix);
    autoBound = true;
    drawDepth = ReadInt(text, "DrawDepth", 0);
    pinned = ReadBool(text, "Pinned", 0);
    rotateToVelocity = ReadBool(text, "RotateToVelocity", 0);
    spriteName = ReadString(text, "SpriteName", "");
}

TemplateProduct EntityTemplate::Instantiate() const {
    auto entity = std::make_unique<Entity>();
    entity->pinned = pinned;
    entity->SetImage(SpriteCopy(spriteName), autoBound);
    entity->drawDepth = drawDepth;
    entity->templateName = name;
    entity->rotateToVelocity = rotateToVelocity;
    entity->placementOffsetX = xPlacementOffset;
    entity->placementOffsetY = yPlacementOffset;
    return AsProduct(std::move(entity));
}

void PhysObjTemplate::Load(std::istream& text, const std::string& prefix) {
    EntityTemplate::Load(text, prefix);
    autoBound = ReadBool(text, "AutoBound", 1);
    solid = ReadBool(text, "Solid", 1);
    boundingXOffset = ReadInt(text, "BoundingXOffset", 0);
    boundingYOffset = ReadInt(text, "BoundingYOffset", 0);
    boundingWidth = ReadInt(text, "BoundingWidth", 0);
    boundingHeight = ReadInt(text, "BoundingHeight", 0);
    if (boundingXOffset != 0 || boundingYOffset != 0 || boundingWidth != 0 || boundingHeight != 0)
        autoBound = false;
    missionCritical = ReadBool(text, "MissionCritical", 0);
}

void PhysObjTemplate::SetUp(PhysObj& object, bool takeSolidAndCritical) const {
    object.pinned = pinned;
    object.SetImage(SpriteCopy(spriteName), autoBound);
    if (!autoBound)
        object.SetBounds(boundingXOffset, boundingYOffset, boundingWidth, boundingHeight);
    object.rotateToVelocity = rotateToVelocity;
    if (takeSolidAndCritical) {
        object.solid = solid;
        object.missionCritical = missionCritical;
    }
    object.drawDepth = drawDepth;
    object.templateName = name;
    object.placementOffsetX = xPlacementOffset;
    object.placementOffsetY = yPlacementOffset;
}

TemplateProduct PhysObjTemplate::Instantiate() const {
    auto object = std::make_unique<PhysObj>();
    SetUp(*object, true);
    return AsProduct(std::move(object));
}

void TriggerTemplate::Load(std::istream& text, const std::string& prefix) {
    PhysObjTemplate::Load(text, prefix);
    stillOnly = ReadBool(text, "StillOnly", 0);
    solid = false;
}

TemplateProduct TriggerTemplate::Instantiate() const {
    auto trigger = std::make_unique<Trigger>();
    SetUp(*trigger, true);
    trigger->stillOnly = stillOnly;
    return AsProduct(std::move(trigger));
}

void ExitTemplate::Load(std::istream& text, const std::string& prefix) {
    PhysObjTemplate::Load(text, prefix);
    activeSpriteName = ReadString(text, "ActiveSpriteName", "");
    teleportSound = ReadString(text, "TeleportSound", "");
    teleportFrame = ReadInt(text, "TeleportFrame", 0);
}

TemplateProduct ExitTemplate::Instantiate() const {
    auto exit = std::make_unique<Exit>();
    SetUp(*exit, false);
    exit->idleImage = SpriteCopy(spriteName);
    exit->hasIdleImage = true;
    if (!activeSpriteName.empty()) {
        exit->activeImage = SpriteCopy(activeSpriteName);
        exit->hasActiveImage = true;
    }
    exit->teleportFrame = teleportFrame;
    if (!teleportSound.empty()) {
        exit->teleportSound = SoundCopy(teleportSound);
        exit->hasTeleportSound = true;
    }
    return AsProduct(std::move(exit));
}

void DirChangerTemplate::Load(std::istream& text, const std::string& prefix) {
    PhysObjTemplate::Load(text, prefix);
    directionChange = ReadInt(text, "DirectionChange", 0);
    relative = ReadBool(text, "Relative", 1);
}

TemplateProduct DirChangerTemplate::Instantiate() const {
    auto changer = std::make_unique<DirChanger>();
    SetUp(*changer, false);
    changer->directionChange = directionChange;
    changer->relative = relative;
    return AsProduct(std::move(changer));
}

void ButtonPOTemplate::Load(std::istream& text, const std::string& prefix) {
    PhysObjTemplate::Load(text, prefix);
    pressedSpriteName = ReadString(text, "PressedSpriteName", "");
    pressedSoundPath = ReadString(text, "PressedSoundPath", "");
    onePress = ReadBool(text, "OnePress", 0);
}

TemplateProduct ButtonPOTemplate::Instantiate() const {
    auto button = std::make_unique<ButtonPO>();
    SetUp(*button, false);
    button->unpressedImage = SpriteCopy(spriteName);
    button->hasUnpressedImage = true;
    button->pressedImage = SpriteCopy(pressedSpriteName);
    button->hasPressedImage = true;
    if (!pressedSoundPath.empty()) {
        button->pressSound = SoundCopy(pressedSoundPath);
        button->hasPressSound = true;
    }
    button->onePress = onePress;
    return AsProduct(std::move(button));
}

void BPOTemplate::Load(std::istream& text, const std::string& prefix) {
    PhysObjTemplate::Load(text, prefix);
    breakSpriteName = ReadString(text, "BreakSpriteName", "");
    breakSoundName = ReadString(text, "BreakSoundName", "");
    breakFall = ReadInt(text, "BreakFall", -1);
    breakWeight = ReadInt(text, "BreakWeight", -1);
    weight = ReadInt(text, "Weight", 0);
    cushioning = ReadInt(text, "Cushioning", 0);
    breakBoundingXOffset = ReadInt(text, "BreakBoundingXOffset", boundingXOffset);
    breakBoundingYOffset = ReadInt(text, "BreakBoundingYOffset", boundingYOffset);
    breakBoundingWidth = ReadInt(text, "BreakBoundingWidth", boundingWidth);
    breakBoundingHeight = ReadInt(text, "BreakBoundingHeight", boundingHeight);
    pinOnBreak = ReadBool(text, "PinOnBreak", 0);
}

void BPOTemplate::SetUpBreakable(BreakablePO& object, bool takeCushioning) const {
    SetUp(object, true);
    if (!breakSpriteName.empty()) {
        object.breakImage = SpriteCopy(breakSpriteName);
        object.hasBreakImage = true;
    }
    if (!breakSoundName.empty()) {
        object.breakSound = SoundCopy(breakSoundName);
        object.hasBreakSound = true;
    }
    object.breakFall = breakFall;
    object.breakWeight = breakWeight;
    object.weight = weight;
    if (takeCushioning)
        object.cushioning = cushioning;
    object.breakBoundX = breakBoundingXOffset;
    object.breakBoundY = breakBoundingYOffset;
    // Content may give negative sizes; they wrap into the 16-bit fields like the normal box.
    object.breakWidth = static_cast<std::uint16_t>(breakBoundingWidth);
    object.breakHeight = static_cast<std::uint16_t>(breakBoundingHeight);
    object.pinOnBreak = pinOnBreak;
}

TemplateProduct BPOTemplate::Instantiate() const {
    auto breakable = std::make_unique<BreakablePO>();
    SetUpBreakable(*breakable, true);
    return AsProduct(std::move(breakable));
}

void DoorTemplate::Load(std::istream& text, const std::string& prefix) {
    BPOTemplate::Load(text, prefix);
    changeStateFrame = ReadInt(text, "ChangeStateFrame", -1);
    depthOffset = ReadInt(text, "DepthOffset", 0);
    openSoundName = ReadString(text, "OpenSoundName", "");
    closeSoundName = ReadString(text, "CloseSoundName", "");
}

TemplateProduct DoorTemplate::Instantiate() const {
    auto door = std::make_unique<Door>();
    SetUpBreakable(*door, false);
    if (!openSoundName.empty()) {
        door->openSound = SoundCopy(openSoundName);
        door->hasOpenSound = true;
    }
    if (!closeSoundName.empty()) {
        door->closeSound = SoundCopy(closeSoundName);
        door->hasCloseSound = true;
    }
    door->depthOffset = depthOffset;
    door->changeStateFrame = changeStateFrame;
    return AsProduct(std::move(door));
}
