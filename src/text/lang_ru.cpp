// Russian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Дополнительная строка…\0"
    "&Положение дополнительной строки\0"
    "&Ведущий ноль\0"
    "&Цвета текста\0"
    "&Шрифт\0"
    "&Запускать вместе с Windows\0"
    "Об&новить\0"
    "&О программе Kivet…\0"
    "В&ыход\0"
    // Additional line position
    "&Над\0"
    "&Под\0"
    "&Скрыта\0"
    // Leading zero
    "&Включено\0"
    "В&ыключено\0"
    // Text colours
    "&Чёрный текст / белая обводка\0"
    "&Белый текст / чёрная обводка\0"
    "&Как на панели задач\0"
    "&Настраиваемый цвет текста…\0"
    "&Цвет фона…\0"
    "Б&ез фона\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Другой…\0"
    // Start with Windows
    "&Да\0"
    "&Нет\0"
    // The input window: title, prompt, buttons
    "Дополнительная строка Kivet\0"
    "Текст дополнительной строки:\0"
    "OK\0"
    "Отмена\0"
    // The About box, the start-up entry's error
    "О программе Kivet\0"
    "Небольшой индикатор текущей недели ISO в области уведомлений Windows.\0"
    "Kivet не удалось изменить параметр запуска Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Календарь Kivet\0"
    "Неделя %d: %ls – %ls\0"
    "Перейти к неделе %d\0"
    "Предыдущий месяц\0"
    "Следующий месяц\0"
    "%ls, неделя %d\0"
    "Сегодня\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Russian = {"ru", Packed.bytes, PackedSize, Block};
