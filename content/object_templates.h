#pragma once
// Object kinds: recipes for the live objects a level places.
#include <cstdint>
#include <memory>
#include <string>

#include "content/template.h"

class Entity;
class PhysObj;
class BreakablePO;

// A plain picture that falls unless pinned; never collides.
class EntityTemplate : public Template {
public:
    EntityTemplate() = default;
    EntityTemplate(std::istream& text, const std::string& prefix) { EntityTemplate::Load(text, prefix); }

    TemplateProduct Instantiate() const override;
    void Load(std::istream& text, const std::string& prefix) override;

    bool autoBound = true;  // plain entities always take their box from the picture
    std::int32_t drawDepth = 0;
    bool pinned = false;
    bool rotateToVelocity = false;
    std::string spriteName;  // qualified; a missing sprite fails only when the kind is placed
};

class PhysObjTemplate : public EntityTemplate {
public:
    PhysObjTemplate() = default;
    PhysObjTemplate(std::istream& text, const std::string& prefix) { PhysObjTemplate::Load(text, prefix); }

    TemplateProduct Instantiate() const override;
    // An explicit bounding box turns AutoBound off whatever the key says.
    void Load(std::istream& text, const std::string& prefix) override;

    bool solid = true;
    std::int32_t boundingXOffset = 0;
    std::int32_t boundingYOffset = 0;
    std::int32_t boundingWidth = 0;
    std::int32_t boundingHeight = 0;
    bool missionCritical = false;

protected:
    // Sprite and box, the common flags, depth, name and placement offsets; Solid and
    // MissionCritical only for the kinds that take them.
    void SetUp(PhysObj& object, bool takeSolidAndCritical) const;
};

// Never solid, whatever its section says.
class TriggerTemplate : public PhysObjTemplate {
public:
    TriggerTemplate() = default;
    TriggerTemplate(std::istream& text, const std::string& prefix) { TriggerTemplate::Load(text, prefix); }
    TemplateProduct Instantiate() const override;
    void Load(std::istream& text, const std::string& prefix) override;

    bool stillOnly = false;
};

class ExitTemplate : public PhysObjTemplate {
public:
    ExitTemplate() = default;
    ExitTemplate(std::istream& text, const std::string& prefix) { ExitTemplate::Load(text, prefix); }
    TemplateProduct Instantiate() const override;
    void Load(std::istream& text, const std::string& prefix) override;

    std::string activeSpriteName;
    std::string teleportSound;
    std::int32_t teleportFrame = 0;
};

class DirChangerTemplate : public PhysObjTemplate {
public:
    DirChangerTemplate() = default;
    DirChangerTemplate(std::istream& text, const std::string& prefix) { DirChangerTemplate::Load(text, prefix); }
    TemplateProduct Instantiate() const override;
    void Load(std::istream& text, const std::string& prefix) override;

    std::int32_t directionChange = 0;
    bool relative = true;
};

class ButtonPOTemplate : public PhysObjTemplate {
public:
    ButtonPOTemplate() = default;
    ButtonPOTemplate(std::istream& text, const std::string& prefix) { ButtonPOTemplate::Load(text, prefix); }
    TemplateProduct Instantiate() const override;
    void Load(std::istream& text, const std::string& prefix) override;

    std::string pressedSpriteName;  // required: an empty name fails when the button is made
    std::string pressedSoundPath;   // a sound definition's name, despite the key
    bool onePress = false;
};

class BPOTemplate : public PhysObjTemplate {
public:
    BPOTemplate() = default;
    BPOTemplate(std::istream& text, const std::string& prefix) { BPOTemplate::Load(text, prefix); }
    TemplateProduct Instantiate() const override;
    // The break box defaults to the bounding box as read.
    void Load(std::istream& text, const std::string& prefix) override;

    std::string breakSpriteName;
    std::string breakSoundName;
    std::int32_t breakFall = -1;
    std::int32_t breakWeight = -1;
    std::int32_t weight = 0;
    std::int32_t cushioning = 0;
    std::int32_t breakBoundingXOffset = 0;
    std::int32_t breakBoundingYOffset = 0;
    std::int32_t breakBoundingWidth = 0;
    std::int32_t breakBoundingHeight = 0;
    bool pinOnBreak = false;

protected:
    void SetUpBreakable(BreakablePO& object, bool takeCushioning) const;
};

// A door never takes Cushioning.
class DoorTemplate : public BPOTemplate {
public:
    DoorTemplate() = default;
    DoorTemplate(std::istream& text, const std::string& prefix) { DoorTemplate::Load(text, prefix); }
    TemplateProduct Instantiate() const override;
    void Load(std::istream& text, const std::string& prefix) override;

    std::int32_t changeStateFrame = -1;
    std::int32_t depthOffset = 0;
    std::string openSoundName;
    std::string closeSoundName;
};
