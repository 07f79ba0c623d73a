// Slovenian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Dodatna vrstica…\0"
    "&Položaj dodatne vrstice\0"
    "&Vodilna ničla\0"
    "&Barve besedila\0"
    "Pi&sava\0"
    "&Zaženi ob zagonu sistema Windows\0"
    "&Osveži\0"
    "O p&rogramu Kivet…\0"
    "&Izhod\0"
    // Additional line position
    "&Zgoraj\0"
    "&Spodaj\0"
    "S&krita\0"
    // Leading zero
    "&Vklopljeno\0"
    "&Izklopljeno\0"
    // Text colours
    "&Črno besedilo / bela obroba\0"
    "&Belo besedilo / črna obroba\0"
    "&Kot opravilna vrstica\0"
    "Barva besedila po &meri…\0"
    "Barva &ozadja…\0"
    "B&rez ozadja\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Druga…\0"
    // Start with Windows
    "&Da\0"
    "&Ne\0"
    // The input window: title, prompt, buttons
    "Dodatna vrstica Kivet\0"
    "Besedilo dodatne vrstice:\0"
    "V redu\0"
    "Prekliči\0"
    // The About box, the start-up entry's error
    "O programu Kivet\0"
    "Majhen kazalnik trenutnega tedna ISO v območju za obvestila sistema Windows.\0"
    "Kivet ni mogel posodobiti nastavitve zagona sistema Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Koledar Kivet\0"
    "%d. teden: %ls – %ls\0"
    "Pojdi na %d. teden\0"
    "Prejšnji mesec\0"
    "Naslednji mesec\0"
    "%ls, %d. teden\0"
    "Danes\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Slovenian = {"sl", Packed.bytes, PackedSize, Block};
