// Bulgarian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Допълнителен ред…\0"
    "&Позиция на допълнителния ред\0"
    "&Водеща нула\0"
    "&Цветове на текста\0"
    "&Шрифт\0"
    "&Стартиране с Windows\0"
    "&Обновяване\0"
    "О&тносно Kivet…\0"
    "&Изход\0"
    // Additional line position
    "&Над\0"
    "&Под\0"
    "&Скрит\0"
    // Leading zero
    "&Включено\0"
    "&Изключено\0"
    // Text colours
    "&Черен текст / бял контур\0"
    "&Бял текст / черен контур\0"
    "&Като лентата на задачите\0"
    "&Персонализиран цвят на текста…\0"
    "&Цвят на фона…\0"
    "Б&ез фон\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Друг…\0"
    // Start with Windows
    "&Да\0"
    "&Не\0"
    // The input window: title, prompt, buttons
    "Kivet – допълнителен ред\0"
    "Текст за допълнителния ред:\0"
    "OK\0"
    "Отказ\0"
    // The About box, the start-up entry's error
    "Относно Kivet\0"
    "Малък индикатор на текущата седмица по ISO в областта за уведомяване на Windows.\0"
    "Kivet не можа да промени настройката за стартиране на Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Календар на Kivet\0"
    "Седмица %d: %ls – %ls\0"
    "Към седмица %d\0"
    "Предишен месец\0"
    "Следващ месец\0"
    "%ls, седмица %d\0"
    "Днес\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Bulgarian = {"bg", Packed.bytes, PackedSize, Block};
