#pragma once
#include <deque>
#include <string>

// One line of a scripted conversation: who speaks (a sprite name), the picture in the
// small side window (a sprite name) and the text.
struct Message {
    std::string icon;
    std::string flag;
    std::string text;
};

// Parses "AddMessage: Icon[icon] Flag[flag] Text[text]". Each part runs to the next "]";
// what stands between the parts is not looked at. A part that is missing reads as empty
// and the rest is still read, so a broken line never reads out of place.
Message ParseMessage(const std::string& line);

// A conversation waiting for its event, then shown message by message.
class Dialog {
public:
    Dialog() = default;
    Dialog(std::string event, std::deque<Message> messages)
        : messages(std::move(messages)), event(std::move(event)) {}

    void AddMessage(Message message) { messages.push_back(std::move(message)); }

    std::deque<Message> messages;  // first in, first shown
    std::string event;
    bool started = false;  // a started dialog never fires again
};
