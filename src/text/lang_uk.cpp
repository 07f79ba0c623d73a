// Ukrainian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Додатковий рядок…\0"
    "&Розташування додаткового рядка\0"
    "По&чатковий нуль\0"
    "&Кольори тексту\0"
    "&Шрифт\0"
    "&Запускати разом із Windows\0"
    "&Оновити\0"
    "&Про програму Kivet…\0"
    "&Вихід\0"
    // Additional line position
    "&Над\0"
    "&Під\0"
    "Пр&ихована\0"
    // Leading zero
    "&Увімкнено\0"
    "&Вимкнено\0"
    // Text colours
    "&Чорний текст / біла обвідка\0"
    "&Білий текст / чорна обвідка\0"
    "&Як панель завдань\0"
    "&Настроюваний колір тексту…\0"
    "&Колір фону…\0"
    "Б&ез фону\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Інший…\0"
    // Start with Windows
    "&Так\0"
    "&Ні\0"
    // The input window: title, prompt, buttons
    "Додатковий рядок Kivet\0"
    "Текст додаткового рядка:\0"
    "OK\0"
    "Скасувати\0"
    // The About box, the start-up entry's error
    "Про програму Kivet\0"
    "Невеликий індикатор поточного тижня ISO в області сповіщень Windows.\0"
    "Kivet не вдалося змінити параметр запуску Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Календар Kivet\0"
    "Тиждень %d: %ls – %ls\0"
    "Перейти до тижня %d\0"
    "Попередній місяць\0"
    "Наступний місяць\0"
    "%ls, тиждень %d\0"
    "Сьогодні\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Ukrainian = {"uk", Packed.bytes, PackedSize, Block};
