// The midnight timer: MidnightTimerId on the main window, armed for 00:00:30 local of the
// next day, through the time zone's rules.
#pragma once

void ScheduleMidnightTimer();
