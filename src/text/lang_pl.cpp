// Polish: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Dodatkowy wiersz…\0"
    "&Położenie dodatkowego wiersza\0"
    "&Zero wiodące\0"
    "&Kolory tekstu\0"
    "&Czcionka\0"
    "&Uruchamiaj z systemem Windows\0"
    "&Odśwież\0"
    "&Informacje o programie Kivet…\0"
    "Z&akończ\0"
    // Additional line position
    "Po&wyżej\0"
    "Po&niżej\0"
    "&Ukryty\0"
    // Leading zero
    "&Włączone\0"
    "W&yłączone\0"
    // Text colours
    "&Czarny tekst / białe obramowanie\0"
    "&Biały tekst / czarne obramowanie\0"
    "&Jak pasek zadań\0"
    "&Niestandardowy kolor tekstu…\0"
    "Kolor &tła…\0"
    "Be&z tła\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Inna…\0"
    // Start with Windows
    "&Tak\0"
    "&Nie\0"
    // The input window: title, prompt, buttons
    "Dodatkowy wiersz Kivet\0"
    "Tekst dodatkowego wiersza:\0"
    "OK\0"
    "Anuluj\0"
    // The About box, the start-up entry's error
    "Informacje o programie Kivet\0"
    "Mały wskaźnik bieżącego tygodnia ISO w obszarze powiadomień systemu Windows.\0"
    "Kivet nie może zaktualizować ustawienia uruchamiania systemu Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kalendarz Kivet\0"
    "Tydzień %d: %ls – %ls\0"
    "Przejdź do tygodnia %d\0"
    "Poprzedni miesiąc\0"
    "Następny miesiąc\0"
    "%ls, tydzień %d\0"
    "Dzisiaj\0";

} // namespace

extern const LanguageTable Polish = {"pl", Texts, sizeof(Texts)};
