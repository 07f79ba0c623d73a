// Maltese: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Linja addizzjonali…\0"
    "&Pożizzjoni tal-linja addizzjonali\0"
    "&Żero ewlieni\0"
    "&Kuluri tat-test\0"
    "&Font\0"
    "&Ibda ma' Windows\0"
    "&Aġġorna\0"
    "&Dwar Kivet…\0"
    "&Oħroġ\0"
    // Additional line position
    "&Fuq\0"
    "&Taħt\0"
    "&Moħbija\0"
    // Leading zero
    "&Mixgħul\0"
    "M&itfi\0"
    // Text colours
    "&Test iswed / bordura bajda\0"
    "Test &abjad / bordura sewda\0"
    "&Bħall-bar tal-applikazzjonijiet\0"
    "&Kulur tat-test personalizzat…\0"
    "Kulur tal-&isfond…\0"
    "&Mingħajr sfond\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Oħra…\0"
    // Start with Windows
    "&Iva\0"
    "&Le\0"
    // The input window: title, prompt, buttons
    "Linja addizzjonali ta' Kivet\0"
    "Test għal-linja addizzjonali:\0"
    "OK\0"
    "Ikkanċella\0"
    // The About box, the start-up entry's error
    "Dwar Kivet\0"
    "Indikatur żgħir tal-ġimgħa ISO kurrenti fiż-żona tan-notifiki ta' Windows.\0"
    "Kivet ma setax jaġġorna l-issettjar tal-bidu ta' Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kalendarju Kivet\0"
    "Ġimgħa %d: %ls – %ls\0"
    "Mur il-ġimgħa %d\0"
    "Ix-xahar ta' qabel\0"
    "Ix-xahar ta' wara\0"
    "%ls, ġimgħa %d\0"
    "Illum\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Maltese = {"mt", Packed.bytes, PackedSize, Block};
