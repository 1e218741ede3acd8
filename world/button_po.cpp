#include "world/button_po.h"

ButtonPO::ButtonPO() { ButtonPO::Reset(); }

void ButtonPO::Reset() {
    PhysObj::Reset();
    solid = false;
    pressed = onePress = false;
    hasPressedImage = hasUnpressedImage = hasPressSound = false;
}

std::unique_ptr<Entity> ButtonPO::Clone() const { return std::unique_ptr<Entity>(new ButtonPO(*this)); }

void ButtonPO::AssignState(const Entity& other) { *this = static_cast<const ButtonPO&>(other); }

void ButtonPO::HashState(Hasher& h) const {
    PhysObj::HashState(h);
    h.Add(pressed);
    h.Add(onePress);
}

void ButtonPO::Move() {
    Entity::Move();
    bool touched = false;
    for (const PhysObj* o : collisions)
        if (!o->pinned)
            touched = true;
    if (touched && !pressed) {
        pressed = true;
        SetImage(Image(pressedImage), false);
        pressSound.Play();
    } else if (!touched && pressed && !onePress) {
        SetImage(Image(unpressedImage), false);
        pressed = false;
    }
}
