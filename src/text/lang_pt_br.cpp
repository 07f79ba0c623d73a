// Brazilian Portuguese (pt-BR): the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Linha adicional…\0"
    "&Posição da linha adicional\0"
    "&Zero à esquerda\0"
    "&Cores do texto\0"
    "&Fonte\0"
    "&Iniciar com o Windows\0"
    "&Atualizar\0"
    "&Sobre o Kivet…\0"
    "Sai&r\0"
    // Additional line position
    "&Acima\0"
    "A&baixo\0"
    "&Oculta\0"
    // Leading zero
    "&Ativado\0"
    "&Desativado\0"
    // Text colours
    "&Texto preto / borda branca\0"
    "Texto &branco / borda preta\0"
    "&Igual à barra de tarefas\0"
    "&Cor do texto personalizada…\0"
    "Cor de &fundo…\0"
    "&Sem fundo\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Outra…\0"
    // Start with Windows
    "&Sim\0"
    "&Não\0"
    // The input window: title, prompt, buttons
    "Linha adicional do Kivet\0"
    "Texto da linha adicional:\0"
    "OK\0"
    "Cancelar\0"
    // The About box, the start-up entry's error
    "Sobre o Kivet\0"
    "Um pequeno indicador da semana ISO atual na área de notificação do Windows.\0"
    "O Kivet não pôde atualizar a configuração de inicialização do Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Calendário do Kivet\0"
    "Semana %d: %ls – %ls\0"
    "Ir para a semana %d\0"
    "Mês anterior\0"
    "Próximo mês\0"
    "%ls, semana %d\0"
    "Hoje\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable BrazilianPortuguese = {"pt-BR", Packed.bytes, PackedSize, Block};
