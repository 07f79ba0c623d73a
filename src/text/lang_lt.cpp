// Lithuanian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Papildoma eilutė…\0"
    "Papildomos eilutės pa&dėtis\0"
    "P&radinis nulis\0"
    "&Teksto spalvos\0"
    "Šri&ftas\0"
    "Paleisti su &Windows\0"
    "&Atnaujinti\0"
    "Apie &Kivet…\0"
    "&Išeiti\0"
    // Additional line position
    "&Viršuje\0"
    "&Apačioje\0"
    "Pa&slėpta\0"
    // Leading zero
    "Įj&ungta\0"
    "&Išjungta\0"
    // Text colours
    "&Juodas tekstas / baltas kraštas\0"
    "&Baltas tekstas / juodas kraštas\0"
    "&Kaip užduočių juosta\0"
    "&Pasirinkta teksto spalva…\0"
    "&Fono spalva…\0"
    "Be fo&no\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Kitas…\0"
    // Start with Windows
    "&Taip\0"
    "&Ne\0"
    // The input window: title, prompt, buttons
    "Kivet papildoma eilutė\0"
    "Papildomos eilutės tekstas:\0"
    "Gerai\0"
    "Atšaukti\0"
    // The About box, the start-up entry's error
    "Apie Kivet\0"
    "Nedidelis „Windows“ pranešimų srities indikatorius, rodantis dabartinę ISO savaitę.\0"
    "Kivet nepavyko atnaujinti „Windows“ paleisties parametro.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet kalendorius\0"
    "%d savaitė: %ls – %ls\0"
    "Eiti į %d savaitę\0"
    "Ankstesnis mėnuo\0"
    "Kitas mėnuo\0"
    "%ls, %d savaitė\0"
    "Šiandien\0";

} // namespace

extern const LanguageTable Lithuanian = {"lt", Texts, sizeof(Texts)};
