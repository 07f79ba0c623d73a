// Spanish (es-ES and the Americas): the interface's words in the order of UiTextId
// (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Línea adicional…\0"
    "&Posición de la línea adicional\0"
    "&Cero a la izquierda\0"
    "C&olores del texto\0"
    "&Fuente\0"
    "&Iniciar con Windows\0"
    "&Actualizar\0"
    "Ace&rca de Kivet…\0"
    "&Salir\0"
    // Additional line position
    "&Encima\0"
    "&Debajo\0"
    "&Oculta\0"
    // Leading zero
    "&Activado\0"
    "&Desactivado\0"
    // Text colours
    "Texto &negro / borde blanco\0"
    "Texto &blanco / borde negro\0"
    "&Igual que la barra de tareas\0"
    "Color de texto &personalizado…\0"
    "Color de &fondo…\0"
    "&Sin fondo\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Otra…\0"
    // Start with Windows
    "&Sí\0"
    "&No\0"
    // The input window: title, prompt, buttons
    "Línea adicional de Kivet\0"
    "Texto de la línea adicional:\0"
    "Aceptar\0"
    "Cancelar\0"
    // The About box, the start-up entry's error
    "Acerca de Kivet\0"
    "Un pequeño indicador de la semana ISO actual en el área de notificación de Windows.\0"
    "Kivet no pudo actualizar la configuración de inicio de Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Calendario de Kivet\0"
    "Semana %d: %ls – %ls\0"
    "Ir a la semana %d\0"
    "Mes anterior\0"
    "Mes siguiente\0"
    "%ls, semana %d\0"
    "Hoy\0";

} // namespace

extern const LanguageTable Spanish = {"es", Texts, sizeof(Texts)};
