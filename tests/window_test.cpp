#include <gtest/gtest.h>

#include "platform/window.h"

namespace {

TEST(WindowScales, TheDesktopOffersEveryWholeMultipleThatFitsWithRoomForPanels) {
    const struct {
        int width, height;
        std::vector<int> scales;
    } cases[] = {
        {640, 480, {1}},         {800, 600, {1}},           {1366, 768, {1}},  // no room for 2x in height
        {1344, 1056, {1, 2}},    {1343, 1056, {1}},         {1344, 1055, {1}},  // the margins exactly
        {1920, 1080, {1, 2}},    {2560, 1440, {1, 2}},      {2560, 1600, {1, 2, 3}},
        {3840, 2160, {1, 2, 3, 4}}, {0, 0, {1}},            {-5, 100000, {1}},  // nonsense: still a window
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EQ(platform::WindowScalesFor(c.width, c.height), c.scales);
    }
}

}  // namespace
