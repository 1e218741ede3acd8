#pragma once
#include <cstdint>

// Placeholder until the World lands: the shared values and operations the spine uses.
class World {
public:
    void Clear() {}
    void Update(double /*step*/) {}
    void SetGravity(int direction) {
        gravityDirection = direction;
        gravityChanged = true;
    }
    int GetGravity() const { return gravityDirection; }
    void ClearGravityChanged() { gravityChanged = false; }

    int gravityDirection = 90;
    bool gravityChanged = false;
    bool frozen = false;
    std::int32_t levelStatus = 0;
};

// The one World of the running level.
World& TheWorld();
