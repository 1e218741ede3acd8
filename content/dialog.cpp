#include "content/dialog.h"

namespace {
// The text after `opener` (searched from `from`) up to the next "]"; `from` moves past it.
std::string Part(const std::string& line, std::size_t& from, const std::string& opener) {
    std::size_t open = line.find(opener, from);
    if (open == std::string::npos)
        return {};
    std::size_t start = open + opener.size();
    std::size_t close = line.find(']', start);
    if (close == std::string::npos)
        close = line.size();
    from = close;
    return line.substr(start, close - start);
}
}  // namespace

Message ParseMessage(const std::string& line) {
    Message message;
    std::size_t from = 0;
    message.icon = Part(line, from, "AddMessage: Icon[");
    if (from == 0)
        message.icon = Part(line, from, "Icon[");  // extra blanks after the colon
    message.flag = Part(line, from, "Flag[");
    message.text = Part(line, from, "Text[");
    return message;
}
