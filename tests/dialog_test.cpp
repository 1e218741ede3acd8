// Dialog scripts: message lines.
#include <gtest/gtest.h>

#include "content/dialog.h"

namespace {

TEST(DialogTest, ParsesMessageLines) {
    struct Case {
        const char* line;
        Message expected;
    };
    Case cases[] = {
        {"AddMessage: Icon[Main/Keeper] Flag[Main/Lake] Text[Hello there.]", {"Main/Keeper", "Main/Lake", "Hello there."}},
        {"AddMessage: Icon[A]Flag[B]   Text[a [bracket] cut] trailing", {"A", "B", "a [bracket"}},
        {"AddMessage: Icon[] Flag[] Text[]", {"", "", ""}},
        {"AddMessage:   Icon[A] Flag[B] Text[C]", {"A", "B", "C"}},
        // Broken lines read what they have and never read out of place.
        {"AddMessage: Icon[A] Text[only text]", {"A", "", "only text"}},
        {"AddMessage: Icon[A Flag[B] Text[C", {"A Flag[B", "", "C"}},
        {"AddMessage: Flag[B] Text[C]", {"", "B", "C"}},
        {"", {"", "", ""}},
    };
    for (const Case& c : cases) {
        Message m = ParseMessage(c.line);
        EXPECT_EQ(m.icon, c.expected.icon) << c.line;
        EXPECT_EQ(m.flag, c.expected.flag) << c.line;
        EXPECT_EQ(m.text, c.expected.text) << c.line;
    }
}

}  // namespace
