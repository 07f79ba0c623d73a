// Serbian in Cyrillic script (sr-Cyrl): the interface's words in the order of UiTextId
// (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Додатни ред…\0"
    "&Положај додатног реда\0"
    "&Водећа нула\0"
    "&Боје текста\0"
    "&Фонт\0"
    "По&крени са системом Windows\0"
    "О&свежи\0"
    "&О програму Kivet…\0"
    "&Излаз\0"
    // Additional line position
    "&Изнад\0"
    "Исп&од\0"
    "&Скривено\0"
    // Leading zero
    "&Укључено\0"
    "&Искључено\0"
    // Text colours
    "&Црни текст / бели оквир\0"
    "&Бели текст / црни оквир\0"
    "&Као трака задатака\0"
    "&Прилагођена боја текста…\0"
    "Б&оја позадине…\0"
    "Б&ез позадине\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Други…\0"
    // Start with Windows
    "&Да\0"
    "&Не\0"
    // The input window: title, prompt, buttons
    "Kivet – додатни ред\0"
    "Текст додатног реда:\0"
    "У реду\0"
    "Откажи\0"
    // The About box, the start-up entry's error
    "О програму Kivet\0"
    "Мали показатељ тренутне ISO недеље у области за обавештења система Windows.\0"
    "Kivet није могао да ажурира поставку покретања система Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet календар\0"
    "%d. недеља: %ls – %ls\0"
    "Иди на %d. недељу\0"
    "Претходни месец\0"
    "Следећи месец\0"
    "%ls, %d. недеља\0"
    "Данас\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable SerbianCyrillic = {"sr-Cyrl", Packed.bytes, PackedSize, Block};
