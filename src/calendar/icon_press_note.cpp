#include "calendar/icon_press_note.h"

bool TakeIconPressEvent(int32_t* noted, IconPressEvent event) {
    const bool swallow = event == IconSelect && *noted != 0;
    switch (event) {
    case FlyoutLostToIcon:
        *noted = 1;
        break;
    case PointerDownOnIcon: // the closing press's own while it is on; else a new press
        *noted = *noted == 1 ? 1 : 0;
        break;
    case PointerUp:
        *noted = *noted != 0 ? 2 : 0;
        break;
    default:
        *noted = 0;
        break;
    }
    return swallow;
}
