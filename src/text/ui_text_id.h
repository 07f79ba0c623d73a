// The interface's words: one id per text Kivet shows, in the order of every language's table.
#pragma once

enum UiTextId {
    // The tray menu, top to bottom; every item carries one access key ('&').
    TextAdditionalLineItem, // "&Additional line…"
    TextPositionMenu,       // "Additional line &position"
    TextLeadingZeroMenu,    // "&Leading zero"
    TextColoursMenu,        // "&Text colours"
    TextFontMenu,           // "&Font"
    TextStartMenu,          // "&Start with Windows"
    TextRefreshItem,        // "&Refresh"
    TextAboutItem,          // "A&bout Kivet…"
    TextExitItem,           // "E&xit"
    TextAbove,              // Additional line position
    TextBelow,
    TextHidden,
    TextLeadingZeroOn, // Leading zero
    TextLeadingZeroOff,
    TextBlackText, // Text colours
    TextWhiteText,
    TextMatchTaskbar,
    TextCustomTextColour, // "&Custom text colour…", a radio item with the three above
    TextBackgroundColour, // "B&ackground colour…"
    TextNoBackground,     // "&No background"
    TextFontCalibri,      // Font: the two names stay, only their access keys may move
    TextFontLekton,
    TextFontOther,
    TextStartYes, // Start with Windows
    TextStartNo,
    // The input window.
    TextInputTitle,
    TextInputPrompt,
    TextOk,
    TextCancel,
    // Message boxes.
    TextAboutCaption,
    TextAboutPurpose,
    TextStartupError,
    // The calendar flyout: its window text (its accessible name), the footer, the ‹ › buttons
    // and the accessible names of the day cells ("%ls" the long date, "%d" the ISO week).
    TextCalendarWindow,
    TextFooterWeek,
    TextFooterGoToWeek,
    TextPreviousMonth,
    TextNextMonth,
    TextDayCellName,
    TextToday,
    UiTextCount
};

// The items of each menu, from first to last id: their access keys differ from each other.
struct MenuTextRange {
    UiTextId first;
    UiTextId last;
};
constexpr MenuTextRange MenuTextRanges[] = {
    {TextAdditionalLineItem, TextExitItem},  {TextAbove, TextHidden},
    {TextLeadingZeroOn, TextLeadingZeroOff}, {TextBlackText, TextNoBackground},
    {TextFontCalibri, TextFontOther},        {TextStartYes, TextStartNo},
};
