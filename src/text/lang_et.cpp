// Estonian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Lisarida…\0"
    "Lisarea &asukoht\0"
    "&Eesnull\0"
    "Teksti vä&rvid\0"
    "&Font\0"
    "&Käivita koos Windowsiga\0"
    "&Värskenda\0"
    "&Teave: Kivet…\0"
    "Välj&u\0"
    // Additional line position
    "Ü&leval\0"
    "&All\0"
    "&Peidetud\0"
    // Leading zero
    "&Sees\0"
    "&Väljas\0"
    // Text colours
    "&Must tekst / valge ääris\0"
    "&Valge tekst / must ääris\0"
    "&Nagu tegumiriba\0"
    "&Oma tekstivärv…\0"
    "&Taustavärv…\0"
    "&Ilma taustata\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Muu…\0"
    // Start with Windows
    "&Jah\0"
    "&Ei\0"
    // The input window: title, prompt, buttons
    "Kiveti lisarida\0"
    "Lisarea tekst:\0"
    "OK\0"
    "Loobu\0"
    // The About box, the start-up entry's error
    "Teave: Kivet\0"
    "Väike Windowsi teavitusala näidik, mis näitab praegust ISO-nädalat.\0"
    "Kivet ei saanud Windowsi käivitussätet värskendada.\0"
    // The calendar flyout: window, footer, accessible names
    "Kiveti kalender\0"
    "Nädal %d: %ls – %ls\0"
    "Mine nädalale %d\0"
    "Eelmine kuu\0"
    "Järgmine kuu\0"
    "%ls, nädal %d\0"
    "Täna\0";

} // namespace

extern const LanguageTable Estonian = {"et", Texts, sizeof(Texts)};
