// Portuguese (pt-PT, pt-BR): European wording, which Brazilian readers follow: the interface's
// words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Linha adicional…\0"
    "&Posição da linha adicional\0"
    "&Zero à esquerda\0"
    "&Cores do texto\0"
    "&Tipo de letra\0"
    "&Iniciar com o Windows\0"
    "&Atualizar\0"
    "Acerca &do Kivet…\0"
    "&Sair\0"
    // Additional line position
    "&Acima\0"
    "A&baixo\0"
    "&Oculta\0"
    // Leading zero
    "&Ativado\0"
    "&Desativado\0"
    // Text colours
    "Texto &preto / contorno branco\0"
    "Texto &branco / contorno preto\0"
    "&Igual à barra de tarefas\0"
    "&Cor de texto personalizada…\0"
    "Cor de &fundo…\0"
    "&Sem fundo\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Outro…\0"
    // Start with Windows
    "&Sim\0"
    "&Não\0"
    // The input window: title, prompt, buttons
    "Linha adicional do Kivet\0"
    "Texto da linha adicional:\0"
    "OK\0"
    "Cancelar\0"
    // The About box, the start-up entry's error
    "Acerca do Kivet\0"
    "Um pequeno indicador da semana ISO atual na área de notificação do Windows.\0"
    "O Kivet não conseguiu atualizar a definição de arranque do Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Calendário do Kivet\0"
    "Semana %d: %ls – %ls\0"
    "Ir para a semana %d\0"
    "Mês anterior\0"
    "Mês seguinte\0"
    "%ls, semana %d\0"
    "Hoje\0";

} // namespace

extern const LanguageTable Portuguese = {"pt", Texts, sizeof(Texts)};
