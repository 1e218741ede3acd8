#include "world/spatial_index.h"

#include <cassert>
#include <climits>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
void InsertSorted(std::vector<std::int32_t>& list, std::int32_t s) { list.insert(std::upper_bound(list.begin(), list.end(), s), s); }

void EraseSorted(std::vector<std::int32_t>& list, std::int32_t s) {
    auto it = std::lower_bound(list.begin(), list.end(), s);
    if (it != list.end() && *it == s)
        list.erase(it);
}
}  // namespace

void SpatialIndex::Clear() {
    // Objects keep their old slot numbers; ValidSlot turns those away.
    rects.clear();
    records.clear();
    entities.clear();
    boxes.clear();
    big.clear();
    holes = 0;
    if (cells.empty()) {
        cells.resize(static_cast<std::size_t>(kColumns * kRows));
        cellTicks.resize(cells.size());
    }
    for (Cell& cell : cells) {
        cell.slots.clear();
        cell.boxes.clear();
    }
    // Whatever was remembered before is void.
    ++tick;
    std::fill(cellTicks.begin(), cellTicks.end(), tick);
    bigTick = tick;
}

void SpatialIndex::Rebuild(const std::vector<std::unique_ptr<Entity>>& objects) {
    Clear();
    for (const auto& e : objects)
        Insert(*e);
}

void SpatialIndex::Insert(Entity& e) {
    if (cells.empty())
        Clear();
    if (ValidSlot(e))
        Erase(e);
    const std::size_t s = entities.size();
    // Slots follow World order: whoever joins is the newest object.
    assert(s == 0 || entities[s - 1] == nullptr || entities[s - 1]->Seq() < e.Seq());
    rects.emplace_back();
    records.push_back(Record{0, CellRange{}, static_cast<std::uint8_t>(kLive | (e.physical ? kPhysical : 0))});
    entities.push_back(&e);
    boxes.emplace_back();
    e.indexSlot = static_cast<std::int32_t>(s);
    Take(s, e);
    Place(static_cast<std::int32_t>(s));
}

bool SpatialIndex::ValidSlot(const Entity& e) const {
    const std::int32_t s = e.indexSlot;
    return s >= 0 && static_cast<std::size_t>(s) < entities.size() && entities[static_cast<std::size_t>(s)] == &e;
}

void SpatialIndex::Erase(Entity& e) {
    if (!ValidSlot(e))
        return;
    const std::int32_t s = e.indexSlot;
    Unplace(s);
    records[static_cast<std::size_t>(s)].flags = 0;
    entities[static_cast<std::size_t>(s)] = nullptr;
    ++holes;
    e.indexSlot = -1;
}

void SpatialIndex::Take(std::size_t s, const Entity& e) {
    boxes[s] = e.CurrentBox();
    records[s].id = e.id;
}

void SpatialIndex::Update(std::size_t s, const Entity& e) {
    Record& record = records[s];
    Rect rect;
    const Box box = e.CurrentBox();
    // Most changes are small moves inside the same cells: new edges in place.
    if (!(record.flags & kBig) && ToRect(box, rect) && CellsOf(rect) == record.range) {
        boxes[s] = box;
        rects[s] = rect;
        record.id = e.id;
        const Packed packed = Pack(rect);
        const CellRange r = record.range;
        ++tick;
        for (int cy = r.y0; cy <= r.y1; ++cy)
            for (int cx = r.x0; cx <= r.x1; ++cx) {
                const std::size_t c = static_cast<std::size_t>(cy * kColumns + cx);
                Cell& cell = cells[c];
                cell.boxes[cell.Find(static_cast<std::int32_t>(s))] = packed;
                cellTicks[c] = tick;
            }
        return;
    }
    Take(s, e);
    Unplace(static_cast<std::int32_t>(s));
    Place(static_cast<std::int32_t>(s));
}

void SpatialIndex::Place(std::int32_t s) {
    const std::size_t i = static_cast<std::size_t>(s);
    bool isBig = !ToRect(boxes[i], rects[i]);
    if (!isBig) {
        const CellRange r = CellsOf(rects[i]);
        records[i].range = r;
        isBig = (r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1) > kBigCells;
    }
    if (isBig) {
        records[i].flags = static_cast<std::uint8_t>(records[i].flags | kBig);
        InsertSorted(big, s);
    } else {
        records[i].flags = static_cast<std::uint8_t>(records[i].flags & ~kBig);
        const CellRange r = records[i].range;
        const Packed packed = Pack(rects[i]);
        for (int cy = r.y0; cy <= r.y1; ++cy)
            for (int cx = r.x0; cx <= r.x1; ++cx) {
                Cell& cell = cells[static_cast<std::size_t>(cy * kColumns + cx)];
                // New slots are the highest: they nearly always go last.
                const std::size_t at = static_cast<std::size_t>(
                    std::upper_bound(cell.slots.begin(), cell.slots.end(), s) - cell.slots.begin());
                // Queries give a cell's slots out as World order: rising, each slot once.
                assert(at == 0 || cell.slots[at - 1] < s);
                cell.slots.insert(cell.slots.begin() + static_cast<std::ptrdiff_t>(at), s);
                cell.boxes.insert(cell.boxes.begin() + static_cast<std::ptrdiff_t>(at), packed);
            }
    }
    Touch(i);
}

void SpatialIndex::Touch(std::size_t s) {
    ++tick;
    if (records[s].flags & kBig) {
        bigTick = tick;
        return;
    }
    const CellRange r = records[s].range;
    for (int cy = r.y0; cy <= r.y1; ++cy)
        for (int cx = r.x0; cx <= r.x1; ++cx)
            cellTicks[static_cast<std::size_t>(cy * kColumns + cx)] = tick;
}

void SpatialIndex::Unplace(std::int32_t s) {
    const std::size_t i = static_cast<std::size_t>(s);
    Touch(i);
    if (records[i].flags & kBig) {
        EraseSorted(big, s);
        return;
    }
    const CellRange r = records[i].range;
    for (int cy = r.y0; cy <= r.y1; ++cy)
        for (int cx = r.x0; cx <= r.x1; ++cx) {
            Cell& cell = cells[static_cast<std::size_t>(cy * kColumns + cx)];
            const std::size_t at = cell.Find(s);
            if (at < cell.slots.size() && cell.slots[at] == s) {
                cell.slots.erase(cell.slots.begin() + static_cast<std::ptrdiff_t>(at));
                cell.boxes.erase(cell.boxes.begin() + static_cast<std::ptrdiff_t>(at));
            }
        }
}

template <class Hit>
void SpatialIndex::ScanCell(const Cell& cell, std::uint64_t low, std::uint64_t high, Hit&& hit) const {
    const Packed* boxes = cell.boxes.data();
    const std::size_t n = cell.boxes.size();
#if defined(__SSE2__)
    // Two boxes to a register; a lane is all ones where it lies between the keys.
    const __m128i lo = _mm_set1_epi64x(static_cast<long long>(low));
    const __m128i hi = _mm_set1_epi64x(static_cast<long long>(high));
    auto inside = [&](__m128i v) { return _mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi16(v, lo), _mm_cmpgt_epi16(hi, v))); };
    std::size_t k = 0;
    for (; k + 2 <= n; k += 2) {
        const int mask = inside(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&boxes[k])));
        if ((mask & 0xFF) == 0xFF)
            hit(k);
        if ((mask >> 8) == 0xFF)
            hit(k + 1);
    }
    if (k < n && (inside(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&boxes[k]))) & 0xFF) == 0xFF)
        hit(k);
#else
    Packed lo, hi;
    std::memcpy(lo.v, &low, sizeof lo.v);
    std::memcpy(hi.v, &high, sizeof hi.v);
    for (std::size_t k = 0; k < n; ++k) {
        const std::int16_t* v = boxes[k].v;
        bool in = true;
        for (int i = 0; i < 4; ++i)
            in &= (v[i] > lo.v[i]) & (v[i] < hi.v[i]);
        if (in)
            hit(k);
    }
#endif
}

void SpatialIndex::QueryGrid(const Box& box, std::int32_t selfId, std::uint8_t need) const {
    hits.clear();
    auto take = [&](std::int32_t s) {
        const Record& r = records[static_cast<std::size_t>(s)];
        if (((r.flags & need) == need) & (r.id != selfId))
            hits.push_back(s);
    };
    const Rect q = ClampRect(box);
    const CellRange qr = CellsOf(q);
    const std::uint64_t low = Lanes(q.left, q.top, ~q.right, ~q.bottom);
    // Left >= floor is ~left < -floor; no floor is -kEdgeMin, the highest lane value.
    auto high = [](std::int32_t minLeft, std::int32_t minTop) { return Lanes(INT16_MAX, INT16_MAX, -minLeft, -minTop); };
    for (int cy = qr.y0; cy <= qr.y1; ++cy) {
        // A box in several of the visited cells counts in the first of them: past the
        // first row and column, only boxes that begin in the cell itself.
        const std::int32_t minTop = cy == qr.y0 ? kEdgeMin : (cy - 1) * kCell;
        for (int cx = qr.x0; cx <= qr.x1; ++cx) {
            const std::int32_t minLeft = cx == qr.x0 ? kEdgeMin : (cx - 1) * kCell;
            const Cell& cell = cells[static_cast<std::size_t>(cy * kColumns + cx)];
            ScanCell(cell, low, high(minLeft, minTop), [&](std::size_t k) { take(cell.slots[k]); });
        }
    }
    // Several cells give their objects out of World order (one cell's list is in it, and
    // this pass then moves nothing); the lists are short.
    for (std::size_t i = 1; i < hits.size(); ++i) {
        const std::int32_t item = hits[i];
        std::size_t j = i;
        for (; j > 0 && hits[j - 1] > item; --j)
            hits[j] = hits[j - 1];
        hits[j] = item;
    }
    if (big.empty())
        return;
    // Merge in the objects the cells do not hold, tested exactly.
    const std::size_t before = hits.size();
    for (std::int32_t s : big)
        if (box.Overlaps(boxes[static_cast<std::size_t>(s)]))
            take(s);
    std::inplace_merge(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(before), hits.end());
}
