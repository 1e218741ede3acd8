#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "world/image.h"

struct DrawRequest {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t depth = 0;
    bool useXY = false;
    Image image;

    // Smaller keys are drawn first, so a larger depth lies further back.
    std::int64_t DrawKey() const;
    // Both put the same pixels at the same place in the same order of drawing. Pictures are
    // compared by their shared surface, so this holds only while both requests keep it alive.
    bool SamePicture(const DrawRequest& other) const;
};

// The frame's draw requests, drawn once per presented frame in ascending draw key.
class DrawQueue {
public:
    void Add(std::int32_t x, std::int32_t y, std::int32_t depth, bool useXY, const Image& image);
    // Sorts stably, blits every request onto `target` and empties the queue.
    void DrawAndClear(SDL_Surface* target);
    void Clear() { requests.clear(); }
    std::size_t Size() const { return requests.size(); }
    const std::vector<DrawRequest>& Requests() const { return requests; }

private:
    std::vector<DrawRequest> requests;
};

// The frame's queue that the loop presents.
DrawQueue& FrameDrawQueue();
