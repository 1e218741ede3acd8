#pragma once
// One JSON object per line, written field by field. Scripts read our output, so names and
// texts always come out as valid UTF-8, whatever bytes the content files hold.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A JSON string literal. Valid UTF-8 passes through; any other byte is read as Latin-1
// (level names may carry a Latin-1 "à").
std::string JsonQuote(std::string_view text);

class JsonObject {
public:
    JsonObject& Add(std::string_view key, std::string_view value);
    JsonObject& Add(std::string_view key, const char* value) { return Add(key, std::string_view(value)); }
    JsonObject& Add(std::string_view key, const std::string& value) { return Add(key, std::string_view(value)); }
    JsonObject& Add(std::string_view key, bool value);
    JsonObject& Add(std::string_view key, std::int64_t value);
    JsonObject& Add(std::string_view key, std::int32_t value) { return Add(key, std::int64_t{value}); }
    JsonObject& Add(std::string_view key, double value);
    JsonObject& AddNull(std::string_view key);
    JsonObject& Add(std::string_view key, const std::vector<std::string>& values);
    // `json` must already be valid JSON (an object or an array).
    JsonObject& AddRaw(std::string_view key, std::string_view json);

    // The object in braces, without a line end.
    std::string Text() const { return "{" + body + "}"; }

private:
    void Key(std::string_view key);
    std::string body;
};
