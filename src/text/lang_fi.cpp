// Finnish: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Lisärivi…\0"
    "Lisärivin &sijainti\0"
    "&Etunolla\0"
    "&Tekstin värit\0"
    "&Fontti\0"
    "&Käynnistä Windowsin kanssa\0"
    "&Päivitä\0"
    "Tietoj&a: Kivet…\0"
    "L&opeta\0"
    // Additional line position
    "&Yläpuolella\0"
    "&Alapuolella\0"
    "&Piilotettu\0"
    // Leading zero
    "&Käytössä\0"
    "&Ei käytössä\0"
    // Text colours
    "&Musta teksti / valkoinen reunus\0"
    "&Valkoinen teksti / musta reunus\0"
    "&Tehtäväpalkin mukaan\0"
    "&Oma tekstin väri…\0"
    "Ta&ustaväri…\0"
    "&Ei taustaa\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Muu…\0"
    // Start with Windows
    "&Kyllä\0"
    "&Ei\0"
    // The input window: title, prompt, buttons
    "Kivetin lisärivi\0"
    "Lisärivin teksti:\0"
    "OK\0"
    "Peruuta\0"
    // The About box, the start-up entry's error
    "Tietoja: Kivet\0"
    "Pieni Windowsin ilmaisinalueen osoitin, joka näyttää kuluvan ISO-viikon.\0"
    "Kivet ei voinut päivittää Windowsin käynnistysasetusta.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-kalenteri\0"
    "Viikko %d: %ls – %ls\0"
    "Siirry viikkoon %d\0"
    "Edellinen kuukausi\0"
    "Seuraava kuukausi\0"
    "%ls, viikko %d\0"
    "Tänään\0";

} // namespace

extern const LanguageTable Finnish = {"fi", Texts, sizeof(Texts)};
