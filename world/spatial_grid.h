#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "world/entity.h"

// Uniform grid over the boxes of a World's objects, so a box query only looks at the
// objects near it. Boxes beyond the covered area fall into the border cells, and boxes
// spanning many cells go to one list that every query visits, so nothing is ever missed.
// Each object's box is kept beside the cells, so a query reads no object it rejects.
class SpatialGrid {
public:
    // Edges of a box, as compact as the hot loop wants them.
    struct Rect {
        std::int32_t left = 0, top = 0, right = 0, bottom = 0;
        bool Overlaps(const Rect& o) const { return left < o.right && right > o.left && top < o.bottom && bottom > o.top; }
        bool operator==(const Rect&) const = default;
    };
    struct Slot {
        Entity* entity = nullptr;
        Box box;
        std::uint64_t seq = 0;
        std::int32_t id = -1;
        std::int16_t cellX0 = 0, cellY0 = 0, cellX1 = -1, cellY1 = -1;
        bool big = false;
        bool physical = false;
    };

    SpatialGrid();

    void Clear();
    void Insert(Entity& e);
    void Erase(Entity& e);
    // Takes the object's current box, id and kind.
    void Refresh(Entity& e);

    // Calls visit(const Slot&) once for every object whose box overlaps `box`, in no
    // particular order. An object spanning several cells is reported only from the cell
    // holding the top-left corner of its overlap with the query box, so no marks are needed.
    template <class Visit>
    void Query(const Box& box, Visit&& visit) const {
        Rect q;
        if (!ToRect(box, q)) {
            // Too far out for the cells' arithmetic: look at everything.
            for (const Slot& slot : slots)
                if (slot.entity && box.Overlaps(slot.box))
                    visit(slot);
            return;
        }
        int x0, y0, x1, y1;
        CellRange(box, x0, y0, x1, y1);
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx) {
                const auto& cell = cells[static_cast<std::size_t>(cy * kColumns + cx)];
                if (hitBuffer.size() < cell.size())
                    hitBuffer.resize(cell.size());
                // Most candidates miss: keep the rejecting loop free of branches.
                std::size_t n = 0;
                for (std::int32_t s : cell) {
                    const Rect& r = rects[static_cast<std::size_t>(s)];
                    hitBuffer[n] = s;
                    n += static_cast<std::size_t>((q.left < r.right) & (q.right > r.left) & (q.top < r.bottom) &
                                                  (q.bottom > r.top));
                }
                for (std::size_t i = 0; i < n; ++i) {
                    const std::int32_t s = hitBuffer[i];
                    const Rect& r = rects[static_cast<std::size_t>(s)];
                    if (CellX(std::max(r.left, q.left)) == cx && CellY(std::max(r.top, q.top)) == cy)
                        visit(slots[static_cast<std::size_t>(s)]);
                }
            }
        for (std::int32_t s : big) {
            const Slot& slot = slots[static_cast<std::size_t>(s)];
            if (box.Overlaps(slot.box))
                visit(slot);
        }
    }

private:
    // Generous margins around the 640x480 screen area; objects that far out leave soon.
    static constexpr int kCellShift = 5;  // 32-pixel cells
    static constexpr int kOriginX = -1024;
    static constexpr int kOriginY = -1024;
    static constexpr int kColumns = (640 + 2 * 1024) >> kCellShift;
    static constexpr int kRows = (480 + 2 * 1024) >> kCellShift;
    static constexpr int kBigCells = 64;

    static int CellX(std::int64_t x) { return std::clamp<std::int64_t>((x - kOriginX) >> kCellShift, 0, kColumns - 1); }
    static int CellY(std::int64_t y) { return std::clamp<std::int64_t>((y - kOriginY) >> kCellShift, 0, kRows - 1); }
    void CellRange(const Box& box, int& x0, int& y0, int& x1, int& y1) const;
    // False when an edge does not fit 32 bits; such boxes live in the big list.
    static bool ToRect(const Box& box, Rect& out);
    void Place(std::int32_t s);
    void Unplace(std::int32_t s);

    std::vector<Slot> slots;
    std::vector<Rect> rects;  // beside `slots`, for the rejecting loop
    mutable std::vector<std::int32_t> hitBuffer;
    std::vector<std::int32_t> freeSlots;
    std::vector<std::vector<std::int32_t>> cells;
    std::vector<std::int32_t> big;
};
