// What the notification icon says: the week label, the icon lines and the tooltip.
#pragma once

#include <cstdint>

#include "common/kivet_types.h"

constexpr int WeekLabelCapacity = 4; // code units: at most 3 characters and the terminator
constexpr int TooltipCapacity = 128; // code units of NOTIFYICONDATAW's szTip

// Writes the week number into `label` ("%02d" when leadingZero is non-zero, "%d" otherwise).
// False when the week is outside 1..53 (the label stays as it was) or formatting fails.
bool FormatWeekLabel(int32_t week, int32_t leadingZero, wchar_t* label);

// Fills `lines` top to bottom with borrowed pointers and gives their count, 1 or 2.
int ArrangeIconLines(const wchar_t* weekLabel, const wchar_t* additionalLine, int32_t linePosition,
                     const wchar_t* lines[2]);

// "Kivet 0.2.1 — ISO yyyy-Www — label" into the 128-unit `tooltip`.
void FormatTooltipText(IsoWeekDate weekDate, const wchar_t* weekLabel, wchar_t* tooltip);
