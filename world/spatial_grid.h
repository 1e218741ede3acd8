#pragma once
#include <cstdint>
#include <vector>

#include "world/entity.h"

// Uniform grid over the boxes of a World's objects, so a box query only looks at the
// objects near it. Boxes beyond the covered area fall into the border cells, and boxes
// spanning many cells go to one list that every query visits, so nothing is ever missed.
// It only proposes candidates; the caller does the exact box test and the ordering.
class SpatialGrid {
public:
    SpatialGrid();

    void Clear();
    void Insert(Entity& e);
    void Erase(Entity& e);
    // The box of `e` moved or changed size.
    void Refresh(Entity& e);

    // Calls visit(Entity*) once for every object whose cells meet the box.
    template <class Visit>
    void Query(const Box& box, Visit&& visit) {
        NextStamp();
        int x0, y0, x1, y1;
        CellRange(box, x0, y0, x1, y1);
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx)
                for (Entity* e : cells[static_cast<std::size_t>(cy * kColumns + cx)])
                    if (e->queryStamp != stamp) {
                        e->queryStamp = stamp;
                        visit(e);
                    }
        for (Entity* e : big)
            if (e->queryStamp != stamp) {
                e->queryStamp = stamp;
                visit(e);
            }
    }

private:
    // Generous margins around the 640x480 screen area; objects that far out leave soon.
    static constexpr int kCellSize = 32;
    static constexpr int kOriginX = -1024;
    static constexpr int kOriginY = -1024;
    static constexpr int kColumns = (640 + 2 * 1024) / kCellSize;
    static constexpr int kRows = (480 + 2 * 1024) / kCellSize;
    static constexpr int kBigCells = 64;

    void CellRange(const Box& box, int& x0, int& y0, int& x1, int& y1) const;
    void NextStamp();

    std::vector<std::vector<Entity*>> cells;
    std::vector<int> usedCells;  // cells that may hold something, so Clear stays cheap
    std::vector<Entity*> big;
    std::uint32_t stamp = 0;
};
