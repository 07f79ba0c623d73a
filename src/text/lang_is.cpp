// Icelandic: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Aukalína…\0"
    "&Staðsetning aukalínu\0"
    "&Núll fremst\0"
    "&Litir texta\0"
    "Le&turgerð\0"
    "&Ræsa með Windows\0"
    "&Endurnýja\0"
    "&Um Kivet…\0"
    "&Hætta\0"
    // Additional line position
    "Fyrir &ofan\0"
    "Fyrir &neðan\0"
    "&Falin\0"
    // Leading zero
    "&Kveikt\0"
    "&Slökkt\0"
    // Text colours
    "&Svartur texti / hvítur rammi\0"
    "&Hvítur texti / svartur rammi\0"
    "&Eins og verkstikan\0"
    "Sérsniðinn &textalitur…\0"
    "&Bakgrunnslitur…\0"
    "Eng&inn bakgrunnur\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "Ö&nnur…\0"
    // Start with Windows
    "&Já\0"
    "&Nei\0"
    // The input window: title, prompt, buttons
    "Aukalína Kivet\0"
    "Texti aukalínunnar:\0"
    "Í lagi\0"
    "Hætta við\0"
    // The About box, the start-up entry's error
    "Um Kivet\0"
    "Lítill vísir á tilkynningasvæði Windows sem sýnir núverandi ISO-viku.\0"
    "Kivet gat ekki uppfært ræsingarstillingu Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-dagatal\0"
    "Vika %d: %ls – %ls\0"
    "Fara í viku %d\0"
    "Fyrri mánuður\0"
    "Næsti mánuður\0"
    "%ls, vika %d\0"
    "Í dag\0";

} // namespace

extern const LanguageTable Icelandic = {"is", Texts, sizeof(Texts)};
