// Irish: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Líne bhreise…\0"
    "&Suíomh na líne breise\0"
    "&Nialas tosaigh\0"
    "&Dathanna téacs\0"
    "&Cló\0"
    "&Tosaigh le Windows\0"
    "&Athnuaigh\0"
    "&Maidir le Kivet…\0"
    "Sc&oir\0"
    // Additional line position
    "&Os cionn\0"
    "&Faoi\0"
    "&I bhfolach\0"
    // Leading zero
    "&Ar siúl\0"
    "A&s\0"
    // Text colours
    "&Téacs dubh / imlíne bhán\0"
    "Téacs &bán / imlíne dhubh\0"
    "&Mar an tascbharra\0"
    "&Dath téacs saincheaptha…\0"
    "Dath an &chúlra…\0"
    "&Gan chúlra\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Eile…\0"
    // Start with Windows
    "&Tá\0"
    "&Níl\0"
    // The input window: title, prompt, buttons
    "Líne bhreise Kivet\0"
    "Téacs don líne bhreise:\0"
    "OK\0"
    "Cealaigh\0"
    // The About box, the start-up entry's error
    "Maidir le Kivet\0"
    "Táscaire beag den tseachtain ISO reatha i limistéar fógraí Windows.\0"
    "Níorbh fhéidir le Kivet socrú tosaithe Windows a nuashonrú.\0"
    // The calendar flyout: window, footer, accessible names
    "Féilire Kivet\0"
    "Seachtain %d: %ls – %ls\0"
    "Téigh go seachtain %d\0"
    "An mhí roimhe seo\0"
    "An chéad mhí eile\0"
    "%ls, seachtain %d\0"
    "Inniu\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Irish = {"ga", Packed.bytes, PackedSize, Block};
