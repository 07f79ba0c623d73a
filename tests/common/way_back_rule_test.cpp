#include <gtest/gtest.h>

#include "common/way_back_rule.h"

namespace {

int userWindow = 0; // stands for the window the user was in
int otherWindow = 0;

// One opening and its closing, with what the platform says at each end.
struct WayBackCase {
    const char* what;
    bool fromKeyboard;
    bool kivetsWindowHadTheKeys; // at the opening
    bool kivetHasTheKeys;        // at the closing
    bool notedWindowLives;       // at the closing
    WayBack expected;
};

const WayBackCase Cases[] = {
    {"opened with the mouse", false, false, true, true, WayBackToWindow},
    {"opened from the keyboard", true, false, true, true, WayBackToNotificationArea},
    {"the user's window gone meanwhile", false, false, true, false, WayBackToNotificationArea},
    {"Kivet's own window had the keys", false, true, true, true, WayBackToNotificationArea},
    {"the user clicked elsewhere", false, false, false, true, WayBackNowhere},
};

} // namespace

TEST(WayBackRuleTest, OneOpeningGoesBackOnceTheRightWayAndIsForgotten) {
    for (const WayBackCase& row : Cases) {
        KeyboardNote note = {};
        NoteOpening(&note, &userWindow, row.kivetsWindowHadTheKeys, row.fromKeyboard, false);
        EXPECT_EQ(note.window, row.kivetsWindowHadTheKeys ? nullptr : &userWindow) << row.what;
        NoteClosing(&note, false);
        EXPECT_EQ(TakeWayBack(&note, row.kivetHasTheKeys, row.notedWindowLives), row.expected)
            << row.what;
        EXPECT_EQ(note.noted, 0) << row.what;
        EXPECT_EQ(TakeWayBack(&note, true, true), WayBackNowhere) << row.what << ": used twice";
    }
}

// The menu opens the input window: the first note stands, and the keyboard goes back only when
// the last of them closes; the modal count follows the modal ones alone.
TEST(WayBackRuleTest, TheFirstWindowNotesAndTheLastGivesBack) {
    KeyboardNote note = {};
    NoteOpening(&note, &userWindow, false, false, false);
    NoteOpening(&note, &otherWindow, false, true, true);
    EXPECT_EQ(note.window, &userWindow);
    EXPECT_EQ(note.fromKeyboard, 0);
    EXPECT_EQ(note.modalWindows, 1);
    NoteClosing(&note, false);
    EXPECT_EQ(TakeWayBack(&note, true, true), WayBackNowhere) << "the input window is open";
    EXPECT_EQ(note.noted, 1);
    NoteClosing(&note, true);
    EXPECT_EQ(note.modalWindows, 0);
    EXPECT_EQ(TakeWayBack(&note, true, true), WayBackToWindow);
    NoteClosing(&note, true); // a closing too many changes nothing
    EXPECT_EQ(note.openWindows, 0);
    EXPECT_EQ(note.modalWindows, 0);
}
