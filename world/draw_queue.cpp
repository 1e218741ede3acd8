#include "world/draw_queue.h"

#include <algorithm>

std::int64_t DrawRequest::DrawKey() const {
    if (useXY)
        return static_cast<std::int64_t>(x) - y - depth;
    return -static_cast<std::int64_t>(depth);
}

bool DrawRequest::SamePicture(const DrawRequest& o) const {
    const Image &a = image, &b = o.image;
    if (x != o.x || y != o.y || DrawKey() != o.DrawKey() || a.surface != b.surface)
        return false;
    if (a.surface == nullptr)
        return true;
    // Everything Blit reads.
    return a.frame == b.frame && a.frameCount == b.frameCount && a.frameWidth == b.frameWidth &&
           a.angle == b.angle && a.sourceRect.w == b.sourceRect.w && a.sourceRect.h == b.sourceRect.h &&
           (a.alpha == 0) == (b.alpha == 0);
}

void DrawQueue::Add(std::int32_t x, std::int32_t y, std::int32_t depth, bool useXY, const Image& image) {
    requests.push_back(DrawRequest{x, y, depth, useXY, image});
}

void DrawQueue::DrawAndClear(SDL_Surface* target) {
    // Sort pointers: an Image copy touches its surface's reference count and its name.
    std::vector<DrawRequest*> order;
    order.reserve(requests.size());
    for (DrawRequest& r : requests)
        order.push_back(&r);
    std::stable_sort(order.begin(), order.end(),
                     [](const DrawRequest* a, const DrawRequest* b) { return a->DrawKey() < b->DrawKey(); });
    for (DrawRequest* r : order)
        r->image.Blit(target, r->x, r->y);
    requests.clear();
}

DrawQueue& FrameDrawQueue() {
    static DrawQueue queue;
    return queue;
}
