#include "world/world.h"

World& TheWorld() {
    static World world;
    return world;
}
