// Serbian in Latin script (sr-Latn; also plain sr, as Windows reads it): the interface's words in
// the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Dodatni red…\0"
    "&Položaj dodatnog reda\0"
    "&Vodeća nula\0"
    "&Boje teksta\0"
    "&Font\0"
    "Po&kreni sa sistemom Windows\0"
    "O&sveži\0"
    "&O programu Kivet…\0"
    "&Izlaz\0"
    // Additional line position
    "&Iznad\0"
    "Isp&od\0"
    "&Skriveno\0"
    // Leading zero
    "&Uključeno\0"
    "&Isključeno\0"
    // Text colours
    "&Crni tekst / beli okvir\0"
    "&Beli tekst / crni okvir\0"
    "&Kao traka zadataka\0"
    "&Prilagođena boja teksta…\0"
    "B&oja pozadine…\0"
    "B&ez pozadine\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Drugi…\0"
    // Start with Windows
    "&Da\0"
    "&Ne\0"
    // The input window: title, prompt, buttons
    "Kivet – dodatni red\0"
    "Tekst dodatnog reda:\0"
    "U redu\0"
    "Otkaži\0"
    // The About box, the start-up entry's error
    "O programu Kivet\0"
    "Mali pokazatelj trenutne ISO nedelje u oblasti za obaveštenja sistema Windows.\0"
    "Kivet nije mogao da ažurira postavku pokretanja sistema Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet kalendar\0"
    "%d. nedelja: %ls – %ls\0"
    "Idi na %d. nedelju\0"
    "Prethodni mesec\0"
    "Sledeći mesec\0"
    "%ls, %d. nedelja\0"
    "Danas\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable SerbianLatin = {"sr-Latn", Packed.bytes, PackedSize, Block};
