// Turkish: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Ek satır…\0"
    "Ek satır k&onumu\0"
    "&Baştaki sıfır\0"
    "&Metin renkleri\0"
    "&Yazı tipi\0"
    "&Windows ile başlat\0"
    "Ye&nile\0"
    "&Kivet hakkında…\0"
    "&Çıkış\0"
    // Additional line position
    "&Üstte\0"
    "&Altta\0"
    "&Gizli\0"
    // Leading zero
    "&Açık\0"
    "&Kapalı\0"
    // Text colours
    "&Siyah metin / beyaz kenarlık\0"
    "&Beyaz metin / siyah kenarlık\0"
    "&Görev çubuğu gibi\0"
    "&Özel metin rengi…\0"
    "Arka plan &rengi…\0"
    "&Arka plan yok\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Diğer…\0"
    // Start with Windows
    "&Evet\0"
    "&Hayır\0"
    // The input window: title, prompt, buttons
    "Kivet ek satırı\0"
    "Ek satır metni:\0"
    "Tamam\0"
    "İptal\0"
    // The About box, the start-up entry's error
    "Kivet hakkında\0"
    "Windows bildirim alanında geçerli ISO haftasını gösteren küçük bir gösterge.\0"
    "Kivet, Windows başlangıç ayarını güncelleyemedi.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet takvimi\0"
    "%d. hafta: %ls – %ls\0"
    "%d. haftaya git\0"
    "Önceki ay\0"
    "Sonraki ay\0"
    "%ls, %d. hafta\0"
    "Bugün\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Turkish = {"tr", Packed.bytes, PackedSize, Block};
