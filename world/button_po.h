#pragma once
#include "audio/sound.h"
#include "world/entity.h"

// A pressure plate: pressed while anything unpinned touches it; a one-press plate stays down.
class ButtonPO : public PhysObj {
public:
    ButtonPO();
    void Move() override;
    void Reset() override;
    bool IsButton() const override { return true; }
    std::unique_ptr<Entity> Clone() const override;
    void AssignState(const Entity& other) override;
    void HashState(Hasher& h) const override;
    // Also: untouched, it comes up no more.
    bool FallsFreely() const override { return PhysObj::FallsFreely() && (!pressed || onePress); }

    Image pressedImage;
    Image unpressedImage;
    Sound pressSound;
    bool pressed = false;
    bool onePress = false;
    bool hasPressedImage = false;
    bool hasUnpressedImage = false;
    bool hasPressSound = false;

protected:
    ButtonPO(const ButtonPO&) = default;
    ButtonPO& operator=(const ButtonPO&) = default;
};
