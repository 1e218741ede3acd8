#pragma once
#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "world/entity.h"

// The boxes of a World's objects in compact arrays, slots in World order, with a uniform
// grid over them, so a box query only looks at the objects near it and reads no object it
// rejects. The answer is the plain scan's, in the same order. Objects joining take the
// next slot (they come last in World order); objects leaving leave a hole until the next
// rebuild.
class SpatialIndex {
public:
    void Rebuild(const std::vector<std::unique_ptr<Entity>>& objects);
    void Clear();
    void Insert(Entity& e);
    void Erase(Entity& e);
    // Takes the object's current box and id.
    void Refresh(Entity& e) {
        const std::size_t s = static_cast<std::size_t>(e.indexSlot);
        if (e.indexSlot < 0 || s >= entities.size() || entities[s] != &e)
            return;
        if (records[s].id == e.id && SameBox(e.CurrentBox(), boxes[s]))
            return;
        Update(s, e);
    }
    // Refresh for every object, cheap for the ones that did not change.
    void RefreshAll(const std::vector<std::unique_ptr<Entity>>& objects) {
        for (const auto& e : objects)
            Refresh(*e);
    }
    // Enough holes that a rebuild would pay.
    bool Sparse() const { return holes > 64 && holes * 2 > entities.size(); }

    // True when a query with this box and id would find what it found when the memo was
    // taken: nothing has joined, left, moved or changed in any cell the box touches.
    bool Unchanged(const LookAheadMemo& memo, const Box& box, std::int32_t selfId) const {
        if (memo.index != this || memo.id != selfId || memo.left != box.left || memo.top != box.top ||
            memo.width != box.width || memo.height != box.height || bigTick > memo.tick)
            return false;
        // The same box covers the same cells as when the memo was taken.
        const std::uint64_t* row = cellTicks.data() + memo.firstCell;
        for (int y = 0; y < memo.cellRows; ++y, row += kColumns)
            for (int x = 0; x < memo.cellColumns; ++x)
                if (row[x] > memo.tick)
                    return false;
        return true;
    }
    void Remember(LookAheadMemo& memo, const Box& box, std::int32_t selfId) const {
        constexpr std::int64_t lo = INT32_MIN, hi = INT32_MAX;
        if (box.left < lo || box.left > hi || box.top < lo || box.top > hi || box.width < 0 || box.width > hi ||
            box.height < 0 || box.height > hi) {
            memo.Forget();
            return;
        }
        const CellRange r = CellsOf(ClampRect(box));
        memo.index = this;
        memo.tick = tick;
        memo.left = static_cast<std::int32_t>(box.left);
        memo.top = static_cast<std::int32_t>(box.top);
        memo.width = static_cast<std::int32_t>(box.width);
        memo.height = static_cast<std::int32_t>(box.height);
        memo.id = selfId;
        memo.firstCell = static_cast<std::int16_t>(r.y0 * kColumns + r.x0);
        memo.cellColumns = static_cast<std::int8_t>(r.x1 - r.x0 + 1);
        memo.cellRows = static_cast<std::int8_t>(r.y1 - r.y0 + 1);
    }

    // Appends to `out`, in World order, every object whose id is not `selfId` and whose
    // box overlaps `box`; with `physicalOnly`, physical objects alone.
    template <class T>
    void Query(const Box& box, std::int32_t selfId, bool physicalOnly, std::vector<T*>& out) const {
        QueryGrid(box, selfId, physicalOnly ? (kLive | kPhysical) : kLive);
        for (std::int32_t s : hits) {
            // Every box change reaches the index (Entity::BoxChanged) while queries trust it.
            assert(SameBox(entities[static_cast<std::size_t>(s)]->CurrentBox(), boxes[static_cast<std::size_t>(s)]));
            out.push_back(static_cast<T*>(entities[static_cast<std::size_t>(s)]));
        }
    }

private:
    struct Rect {
        std::int32_t left = 0, top = 0, right = 0, bottom = 0;
        bool Overlaps(const Rect& o) const { return left < o.right && right > o.left && top < o.bottom && bottom > o.top; }
    };
    struct CellRange {
        std::int16_t x0 = 0, y0 = 0, x1 = -1, y1 = -1;
        bool operator==(const CellRange&) const = default;
    };
    static bool SameBox(const Box& a, const Box& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }
    // A box as the cells hold it, in 16 bits: right, bottom, ~left, ~top. One signed
    // "greater than" per lane against the query's left, top, ~right, ~bottom decides
    // overlap (~ reverses order without overflowing); a second "less than" per lane puts a
    // floor under left and top, so that a box met in several visited cells counts once.
    struct Packed {
        std::int16_t v[4];
    };
    // Edges the cells can hold: one step inside the 16-bit range, so that a query clamped
    // to that range decides every comparison as the exact box would.
    static constexpr std::int32_t kEdgeMin = INT16_MIN + 1, kEdgeMax = INT16_MAX - 1;
    static Packed Pack(const Rect& r) {
        return Packed{{static_cast<std::int16_t>(r.right), static_cast<std::int16_t>(r.bottom),
                       static_cast<std::int16_t>(~r.left), static_cast<std::int16_t>(~r.top)}};
    }
    // The slots whose boxes touch one cell, in rising order, with their boxes beside them.
    struct Cell {
        std::vector<std::int32_t> slots;
        std::vector<Packed> boxes;
        std::size_t Find(std::int32_t s) const {
            return static_cast<std::size_t>(std::lower_bound(slots.begin(), slots.end(), s) - slots.begin());
        }
    };
    static constexpr std::uint8_t kLive = 1, kPhysical = 2, kBig = 4;

    // 32-pixel cells over the screen area and one ring of cells around it; anything
    // farther out falls into the ring, so nothing is ever missed.
    static constexpr int kCellShift = 5;
    static constexpr int kCell = 1 << kCellShift;
    static constexpr int kColumns = 640 / kCell + 2;
    static constexpr int kRows = 480 / kCell + 2;
    // Boxes over this many cells, or with an edge the cells cannot hold, go to one list
    // that every query visits and tests exactly.
    static constexpr int kBigCells = 48;

    static std::int16_t CellX(std::int64_t x) {
        // Arithmetic shifts floor negative coordinates too.
        const std::int64_t c = (x + kCell) >> kCellShift;
        return static_cast<std::int16_t>(c < 0 ? 0 : c > kColumns - 1 ? kColumns - 1 : c);
    }
    static std::int16_t CellY(std::int64_t y) {
        const std::int64_t c = (y + kCell) >> kCellShift;
        return static_cast<std::int16_t>(c < 0 ? 0 : c > kRows - 1 ? kRows - 1 : c);
    }
    static CellRange CellsOf(const Rect& r) {
        // A zero-size box still sits at its corner, where a box around it would meet it.
        return CellRange{CellX(r.left), CellY(r.top), CellX(std::max<std::int64_t>(r.right, std::int64_t{r.left} + 1) - 1),
                         CellY(std::max<std::int64_t>(r.bottom, std::int64_t{r.top} + 1) - 1)};
    }
    // False when an edge does not fit the cells.
    static bool ToRect(const Box& box, Rect& out) {
        const std::int64_t right = box.left + box.width, bottom = box.top + box.height;
        if (box.left < kEdgeMin || box.top < kEdgeMin || right > kEdgeMax || bottom > kEdgeMax)
            return false;
        out = Rect{static_cast<std::int32_t>(box.left), static_cast<std::int32_t>(box.top),
                   static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
        return true;
    }
    // A query box brought into the 16-bit range: against edges the cells hold, every
    // comparison comes out as it would for the box itself.
    static Rect ClampRect(const Box& box) {
        auto clamp = [](std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT16_MIN, INT16_MAX)); };
        return Rect{clamp(box.left), clamp(box.top), clamp(box.left + box.width), clamp(box.top + box.height)};
    }
    // Marks the slot's cells (or the big list) as changed.
    void Touch(std::size_t s);
    bool ValidSlot(const Entity& e) const;
    void Take(std::size_t s, const Entity& e);
    // The object's box or id changed: moves it between cells as needed.
    void Update(std::size_t s, const Entity& e);
    void Place(std::int32_t s);
    void Unplace(std::int32_t s);
    // Four 16-bit lanes in one word, the first lowest, as a cell holds a box.
    static std::uint64_t Lanes(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
        return std::uint64_t{static_cast<std::uint16_t>(a)} | std::uint64_t{static_cast<std::uint16_t>(b)} << 16 |
               std::uint64_t{static_cast<std::uint16_t>(c)} << 32 | std::uint64_t{static_cast<std::uint16_t>(d)} << 48;
    }
    // Scans one cell, calling hit(k) for the k-th entry of every box whose lanes are all
    // above those of `low` and below those of `high`.
    template <class Hit>
    void ScanCell(const Cell& cell, std::uint64_t low, std::uint64_t high, Hit&& hit) const;
    // Fills `hits` with the matching slots in World order.
    void QueryGrid(const Box& box, std::int32_t selfId, std::uint8_t need) const;

    std::vector<Rect> rects;
    // What the scans read besides the box, side by side.
    struct Record {
        std::int32_t id = 0;
        CellRange range;
        std::uint8_t flags = 0;
    };
    std::vector<Record> records;
    std::vector<Entity*> entities;
    std::vector<Box> boxes;  // exact, for the big list
    std::size_t holes = 0;
    // Each cell and the big list hold their slots in rising order, that is in World order.
    std::vector<Cell> cells;
    std::vector<std::int32_t> big;
    // Change counts: `tick` rises with every change; a cell keeps the count of its last one.
    std::uint64_t tick = 0;
    std::vector<std::uint64_t> cellTicks;
    std::uint64_t bigTick = 0;
    mutable std::vector<std::int32_t> hits;
    mutable std::vector<std::int32_t> candidates;
};
