// The notification icon: drawn for today's week and published, or taken away.
#pragma once

// Reads the local date, draws the icon and adds it to (or modifies it in) the notification
// area; keeps the one icon on show in appState.currentIcon.
void RefreshTrayIcon();

// Deletes the notification icon when it is added; does nothing otherwise.
void RemoveTrayIcon();
