// Latvian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Papildu rinda…\0"
    "Papildu rindas &novietojums\0"
    "&Sākuma nulle\0"
    "&Teksta krāsas\0"
    "&Fonts\0"
    "Startēt kopā ar &Windows\0"
    "&Atsvaidzināt\0"
    "Pa&r Kivet…\0"
    "&Iziet\0"
    // Additional line position
    "&Virs\0"
    "&Zem\0"
    "&Paslēpta\0"
    // Leading zero
    "&Ieslēgta\0"
    "I&zslēgta\0"
    // Text colours
    "&Melns teksts / balta apmale\0"
    "&Balts teksts / melna apmale\0"
    "&Kā uzdevumjoslai\0"
    "&Pielāgota teksta krāsa…\0"
    "&Fona krāsa…\0"
    "Bez f&ona\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "C&its…\0"
    // Start with Windows
    "&Jā\0"
    "&Nē\0"
    // The input window: title, prompt, buttons
    "Kivet papildu rinda\0"
    "Papildu rindas teksts:\0"
    "Labi\0"
    "Atcelt\0"
    // The About box, the start-up entry's error
    "Par Kivet\0"
    "Neliels Windows paziņojumu apgabala indikators, kas rāda pašreizējo ISO nedēļu.\0"
    "Kivet nevarēja atjaunināt Windows startēšanas iestatījumu.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet kalendārs\0"
    "%d. nedēļa: %ls – %ls\0"
    "Pāriet uz %d. nedēļu\0"
    "Iepriekšējais mēnesis\0"
    "Nākamais mēnesis\0"
    "%ls, %d. nedēļa\0"
    "Šodien\0";

} // namespace

extern const LanguageTable Latvian = {"lv", Texts, sizeof(Texts)};
