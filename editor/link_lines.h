#pragma once
// What the editor draws over the level to make links and the piece in hand readable: a line
// from each link source to each of its targets, a frame around the source being linked, and
// the ghost seen through.
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "world/image.h"

class Entity;
class World;

// Above every piece, below the toolbar and the editor's panels.
inline constexpr int kLinkDepth = -90000;

// From the centre of a source's picture to the centre of a target's.
struct LinkLine {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool operator==(const LinkLine&) const = default;
};

// For every piece with a link name (World order), one line to every other piece, or the
// same one, whose link target is that name (World order). The ghost takes no part.
std::vector<LinkLine> LinkLinesOf(const World& world, const Entity* ghost);

// The centre of the piece's picture as it stands on screen.
void PictureCentre(const Entity& object, int& x, int& y);

// Keeps the pictures it made while they are still wanted, so a level at rest costs no drawing.
class LinkOverlay {
public:
    // Queues this frame's lines and, when given, a frame around the chosen source.
    void Queue(const std::vector<LinkLine>& lines, const Entity* chosenSource);
    // The ghost's picture with half its opacity, at the ghost's place and depth.
    void QueueTranslucent(const Entity& ghost);
    void Clear();

private:
    std::map<std::tuple<int, int, int, int>, Image> lines;
    std::map<std::pair<int, int>, Image> frames;
    // The translucent copy and the picture it was made from, kept alive so its address can
    // never be taken by another picture.
    Image ghostSource;
    Image ghostCopy;
};
