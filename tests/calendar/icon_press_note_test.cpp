#include <gtest/gtest.h>

#include <vector>

#include "calendar/icon_press_note.h"

namespace {

// What reaches the note between the flyout's deactivation and a select: the select is swallowed
// only where it is the closing press's own, and the one after it never.
TEST(IconPressNote, SwallowsTheSelectOfTheClosingPressOnly) {
    const struct {
        const char* what;
        std::vector<IconPressEvent> before; // the select
        bool swallowed;
    } cases[] = {
        {"the same press", {FlyoutLostToIcon, PointerUp}, true},
        {"its own down after the deactivation",
         {FlyoutLostToIcon, PointerDownOnIcon, PointerUp},
         true},
        {"a press that ended off the icon, then a new one",
         {FlyoutLostToIcon, PointerUp, PointerDownOnIcon},
         false},
        {"a new press that closes it again",
         {FlyoutLostToIcon, PointerUp, PointerDownOnIcon, FlyoutLostToIcon},
         true},
        {"a key select in between", {FlyoutLostToIcon, IconKeySelect}, false},
    };
    for (const auto& c : cases) {
        int32_t noted = 0;
        for (const IconPressEvent event : c.before) {
            EXPECT_FALSE(TakeIconPressEvent(&noted, event)) << c.what;
        }
        EXPECT_EQ(TakeIconPressEvent(&noted, IconSelect), c.swallowed) << c.what;
        EXPECT_FALSE(TakeIconPressEvent(&noted, IconSelect)) << c.what << ": the next select";
    }
}

} // namespace
