#include "icon/icon_text.h"

#include "common/strings.h"
#include "common/version.h"

bool FormatWeekLabel(int32_t week, int32_t leadingZero, wchar_t* label) {
    if (week < 1 || week > 53) {
        return false;
    }
    const wchar_t* format = leadingZero != 0 ? L"%02d" : L"%d";
    return FormatString(label, WeekLabelCapacity, format, week) >= 0;
}

int ArrangeIconLines(const wchar_t* weekLabel, const wchar_t* additionalLine, int32_t linePosition,
                     const wchar_t* lines[2]) {
    const wchar_t* additionalText =
        (linePosition == Above || linePosition == Below) ? additionalLine : L"";
    if (additionalText == nullptr || additionalText[0] == L'\0') {
        lines[0] = weekLabel;
        return 1;
    }
    if (linePosition == Below) {
        lines[0] = weekLabel;
        lines[1] = additionalText;
    } else {
        lines[0] = additionalText;
        lines[1] = weekLabel;
    }
    return 2;
}

void FormatTooltipText(IsoWeekDate weekDate, const wchar_t* weekLabel, wchar_t* tooltip) {
    // U+2014 em dashes, one space on either side.
    FormatString(tooltip, TooltipCapacity,
                 L"Kivet " KIVET_VERSION_WIDE L" \u2014 ISO %04d-W%02d \u2014 %ls", weekDate.year,
                 weekDate.week, weekLabel);
}
