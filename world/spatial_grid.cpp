#include "world/spatial_grid.h"

#include <algorithm>
#include <climits>

namespace {
void EraseOne(std::vector<std::int32_t>& list, std::int32_t s) {
    auto it = std::find(list.begin(), list.end(), s);
    if (it != list.end()) {
        *it = list.back();
        list.pop_back();
    }
}
}  // namespace

SpatialGrid::SpatialGrid() : cells(static_cast<std::size_t>(kColumns * kRows)) {}

void SpatialGrid::CellRange(const Box& box, int& x0, int& y0, int& x1, int& y1) const {
    // A zero-size box still sits at its corner, where a box around it would meet it.
    const std::int64_t w = std::max<std::int64_t>(box.width, 1), h = std::max<std::int64_t>(box.height, 1);
    // Arithmetic shifts floor negative coordinates too.
    x0 = CellX(box.left);
    x1 = CellX(box.left + w - 1);
    y0 = CellY(box.top);
    y1 = CellY(box.top + h - 1);
}

bool SpatialGrid::ToRect(const Box& box, Rect& out) {
    constexpr std::int64_t lo = INT32_MIN, hi = INT32_MAX;
    const std::int64_t right = box.left + box.width, bottom = box.top + box.height;
    if (box.left < lo || box.top < lo || right > hi || bottom > hi)
        return false;
    out = Rect{static_cast<std::int32_t>(box.left), static_cast<std::int32_t>(box.top), static_cast<std::int32_t>(right),
               static_cast<std::int32_t>(bottom)};
    return true;
}

void SpatialGrid::Clear() {
    for (Slot& slot : slots)
        if (slot.entity)
            slot.entity->gridSlot = -1;
    slots.clear();
    rects.clear();
    freeSlots.clear();
    for (auto& cell : cells)
        cell.clear();
    big.clear();
}

void SpatialGrid::Insert(Entity& e) {
    if (e.gridSlot >= 0)
        Erase(e);
    std::int32_t s;
    if (!freeSlots.empty()) {
        s = freeSlots.back();
        freeSlots.pop_back();
    } else {
        s = static_cast<std::int32_t>(slots.size());
        slots.emplace_back();
        rects.emplace_back();
    }
    Slot& slot = slots[static_cast<std::size_t>(s)];
    slot = Slot{};
    slot.entity = &e;
    slot.box = e.CurrentBox();
    slot.seq = e.seq;
    slot.id = e.id;
    slot.physical = e.physical;
    e.gridSlot = s;
    Place(s);
}

void SpatialGrid::Place(std::int32_t s) {
    Slot& slot = slots[static_cast<std::size_t>(s)];
    const bool fits = ToRect(slot.box, rects[static_cast<std::size_t>(s)]);
    int x0, y0, x1, y1;
    CellRange(slot.box, x0, y0, x1, y1);
    slot.cellX0 = static_cast<std::int16_t>(x0);
    slot.cellY0 = static_cast<std::int16_t>(y0);
    slot.cellX1 = static_cast<std::int16_t>(x1);
    slot.cellY1 = static_cast<std::int16_t>(y1);
    slot.big = !fits || (x1 - x0 + 1) * (y1 - y0 + 1) > kBigCells;
    if (slot.big) {
        big.push_back(s);
        return;
    }
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx)
            cells[static_cast<std::size_t>(cy * kColumns + cx)].push_back(s);
}

void SpatialGrid::Unplace(std::int32_t s) {
    const Slot& slot = slots[static_cast<std::size_t>(s)];
    if (slot.big) {
        EraseOne(big, s);
        return;
    }
    for (int cy = slot.cellY0; cy <= slot.cellY1; ++cy)
        for (int cx = slot.cellX0; cx <= slot.cellX1; ++cx)
            EraseOne(cells[static_cast<std::size_t>(cy * kColumns + cx)], s);
}

void SpatialGrid::Erase(Entity& e) {
    const std::int32_t s = e.gridSlot;
    if (s < 0 || static_cast<std::size_t>(s) >= slots.size() || slots[static_cast<std::size_t>(s)].entity != &e)
        return;
    Unplace(s);
    slots[static_cast<std::size_t>(s)].entity = nullptr;
    freeSlots.push_back(s);
    e.gridSlot = -1;
}

void SpatialGrid::Refresh(Entity& e) {
    const std::int32_t s = e.gridSlot;
    if (s < 0 || static_cast<std::size_t>(s) >= slots.size() || slots[static_cast<std::size_t>(s)].entity != &e)
        return;
    Slot& slot = slots[static_cast<std::size_t>(s)];
    const Box box = e.CurrentBox();
    slot.id = e.id;
    slot.physical = e.physical;
    if (box.left == slot.box.left && box.top == slot.box.top && box.width == slot.box.width &&
        box.height == slot.box.height)
        return;
    slot.box = box;
    Rect& rect = rects[static_cast<std::size_t>(s)];
    const bool fits = ToRect(box, rect);
    int x0, y0, x1, y1;
    CellRange(box, x0, y0, x1, y1);
    if (fits && !slot.big && x0 == slot.cellX0 && y0 == slot.cellY0 && x1 == slot.cellX1 && y1 == slot.cellY1)
        return;
    Unplace(s);
    Place(s);
}

