#include "world/spatial_grid.h"

#include <algorithm>

namespace {
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int ClampCell(std::int64_t c, int count) { return static_cast<int>(std::clamp<std::int64_t>(c, 0, count - 1)); }

void EraseOne(std::vector<Entity*>& list, Entity* e) {
    auto it = std::find(list.begin(), list.end(), e);
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
    x0 = ClampCell(FloorDiv(box.left - kOriginX, kCellSize), kColumns);
    x1 = ClampCell(FloorDiv(box.left + w - 1 - kOriginX, kCellSize), kColumns);
    y0 = ClampCell(FloorDiv(box.top - kOriginY, kCellSize), kRows);
    y1 = ClampCell(FloorDiv(box.top + h - 1 - kOriginY, kCellSize), kRows);
}

void SpatialGrid::Clear() {
    for (int c : usedCells) {
        for (Entity* e : cells[static_cast<std::size_t>(c)])
            e->indexed = false;
        cells[static_cast<std::size_t>(c)].clear();
    }
    usedCells.clear();
    for (Entity* e : big)
        e->indexed = false;
    big.clear();
}

void SpatialGrid::Insert(Entity& e) {
    if (e.indexed)
        Erase(e);
    int x0, y0, x1, y1;
    CellRange(e.CurrentBox(), x0, y0, x1, y1);
    e.indexed = true;
    e.cellX0 = x0;
    e.cellY0 = y0;
    e.cellX1 = x1;
    e.cellY1 = y1;
    e.inBigList = (x1 - x0 + 1) * (y1 - y0 + 1) > kBigCells;
    if (e.inBigList) {
        big.push_back(&e);
        return;
    }
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx) {
            const int c = cy * kColumns + cx;
            auto& cell = cells[static_cast<std::size_t>(c)];
            if (cell.empty())
                usedCells.push_back(c);
            cell.push_back(&e);
        }
}

void SpatialGrid::Erase(Entity& e) {
    if (!e.indexed)
        return;
    e.indexed = false;
    if (e.inBigList) {
        EraseOne(big, &e);
        return;
    }
    for (int cy = e.cellY0; cy <= e.cellY1; ++cy)
        for (int cx = e.cellX0; cx <= e.cellX1; ++cx)
            EraseOne(cells[static_cast<std::size_t>(cy * kColumns + cx)], &e);
}

void SpatialGrid::Refresh(Entity& e) {
    if (!e.indexed)
        return;
    int x0, y0, x1, y1;
    CellRange(e.CurrentBox(), x0, y0, x1, y1);
    if (x0 == e.cellX0 && y0 == e.cellY0 && x1 == e.cellX1 && y1 == e.cellY1)
        return;
    Erase(e);
    Insert(e);
}

void SpatialGrid::NextStamp() {
    if (++stamp != 0)
        return;
    // After four billion queries the stamps start over; old marks must not look current.
    for (int c : usedCells)
        for (Entity* e : cells[static_cast<std::size_t>(c)])
            e->queryStamp = 0;
    for (Entity* e : big)
        e->queryStamp = 0;
    stamp = 1;
}
