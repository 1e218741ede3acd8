#pragma once
#include <SDL.h>

#include <map>
#include <string>
#include <vector>

// Timed input for scripted runs: one event per line, "FRAME EVENT ARGS", where EVENT is
// keydown SYM, keyup SYM, key SYM (down, then up the next frame), mousemove X Y,
// mousedown BUTTON X Y, mouseup BUTTON X Y, quit, or shot FILE. "#" starts a comment.
class InputScript {
public:
    // Throws std::invalid_argument naming the line for anything malformed.
    static InputScript Parse(const std::string& text, const std::string& sourceName);
    static InputScript Load(const std::string& path);

    // Queues the events of this frame into SDL so they arrive through the ordinary pump.
    void PushEventsFor(long frame) const;
    std::vector<std::string> ShotsFor(long frame) const;
    long LastFrame() const;

private:
    std::multimap<long, SDL_Event> events;
    std::multimap<long, std::string> shots;
};
