// Croatian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Dodatni redak…\0"
    "&Položaj dodatnog retka\0"
    "&Vodeća nula\0"
    "&Boje teksta\0"
    "&Font\0"
    "Pok&reni sa sustavom Windows\0"
    "&Osvježi\0"
    "O pro&gramu Kivet…\0"
    "&Izlaz\0"
    // Additional line position
    "&Iznad\0"
    "I&spod\0"
    "S&kriveno\0"
    // Leading zero
    "&Uključeno\0"
    "Is&ključeno\0"
    // Text colours
    "&Crni tekst / bijeli obrub\0"
    "&Bijeli tekst / crni obrub\0"
    "&Kao programska traka\0"
    "&Vlastita boja teksta…\0"
    "Boja &pozadine…\0"
    "Be&z pozadine\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Drugi…\0"
    // Start with Windows
    "&Da\0"
    "&Ne\0"
    // The input window: title, prompt, buttons
    "Kivet – dodatni redak\0"
    "Tekst dodatnog retka:\0"
    "U redu\0"
    "Odustani\0"
    // The About box, the start-up entry's error
    "O programu Kivet\0"
    "Mali pokazatelj trenutačnog ISO tjedna u području obavijesti sustava Windows.\0"
    "Kivet nije mogao ažurirati postavku pokretanja sustava Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet kalendar\0"
    "Tjedan %d: %ls – %ls\0"
    "Idi na tjedan %d\0"
    "Prethodni mjesec\0"
    "Sljedeći mjesec\0"
    "%ls, tjedan %d\0"
    "Danas\0";

} // namespace

extern const LanguageTable Croatian = {"hr", Texts, sizeof(Texts)};
