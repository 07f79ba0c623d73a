// Estonian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Lisarida…\0"
    "Lisarea &asukoht\0"
    "&Eesnull\0"
    "Teksti vä&rvid\0"
    "&Font\0"
    "&Käivita koos Windowsiga\0"
    "&Värskenda\0"
    "&Teave Kiveti kohta…\0"
    "Välj&u\0"
    // Additional line position
    "&Üleval\0"
    "&All\0"
    "&Peidetud\0"
    // Leading zero
    "&Sees\0"
    "&Väljas\0"
    // Text colours
    "&Must tekst / valge ääris\0"
    "&Valge tekst / must ääris\0"
    "&Nagu tegumiriba\0"
    "&Kohandatud teksti värv…\0"
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
    "Teave Kiveti kohta\0"
    "Väike Windowsi teavitusala näidik, mis näitab praegust ISO-nädalat.\0"
    "Kivet ei saanud Windowsi käivitussätet muuta.\0"
    // The calendar flyout: window, footer, accessible names
    "Kiveti kalender\0"
    "%d. nädal: %ls – %ls\0"
    "Mine %d. nädalale\0"
    "Eelmine kuu\0"
    "Järgmine kuu\0"
    "%ls, %d. nädal\0"
    "Täna\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Estonian = {"et", Packed.bytes, PackedSize, Block};
