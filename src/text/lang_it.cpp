// Italian (it-IT, it-CH): the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Riga aggiuntiva…\0"
    "&Posizione della riga aggiuntiva\0"
    "&Zero iniziale\0"
    "&Colori del testo\0"
    "C&arattere\0"
    "Avvia con &Windows\0"
    "A&ggiorna\0"
    "&Informazioni su Kivet…\0"
    "&Esci\0"
    // Additional line position
    "&Sopra\0"
    "S&otto\0"
    "&Nascosta\0"
    // Leading zero
    "&Attivato\0"
    "&Disattivato\0"
    // Text colours
    "Testo &nero / bordo bianco\0"
    "Testo &bianco / bordo nero\0"
    "&Come la barra delle applicazioni\0"
    "Colore del testo &personalizzato…\0"
    "Colore di s&fondo…\0"
    "Ne&ssuno sfondo\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Altro…\0"
    // Start with Windows
    "&Sì\0"
    "&No\0"
    // The input window: title, prompt, buttons
    "Riga aggiuntiva di Kivet\0"
    "Testo della riga aggiuntiva:\0"
    "OK\0"
    "Annulla\0"
    // The About box, the start-up entry's error
    "Informazioni su Kivet\0"
    "Un piccolo indicatore della settimana ISO corrente nell'area di notifica di Windows.\0"
    "Kivet non è riuscito ad aggiornare l'impostazione di avvio di Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Calendario Kivet\0"
    "Settimana %d: %ls – %ls\0"
    "Vai alla settimana %d\0"
    "Mese precedente\0"
    "Mese successivo\0"
    "%ls, settimana %d\0"
    "Oggi\0";

} // namespace

extern const LanguageTable Italian = {"it", Texts, sizeof(Texts)};
