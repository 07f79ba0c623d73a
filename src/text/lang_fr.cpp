// French (fr-FR, fr-BE, fr-CH, fr-LU, fr-CA, ...): the interface's words in the order of UiTextId
// (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Ligne supplémentaire…\0"
    "&Position de la ligne supplémentaire\0"
    "&Zéro initial\0"
    "&Couleurs du texte\0"
    "P&olice\0"
    "&Démarrer avec Windows\0"
    "&Actualiser\0"
    "À p&ropos de Kivet…\0"
    "&Quitter\0"
    // Additional line position
    "&Au-dessus\0"
    "&En dessous\0"
    "&Masquée\0"
    // Leading zero
    "&Activé\0"
    "&Désactivé\0"
    // Text colours
    "Texte &noir / bordure blanche\0"
    "Texte &blanc / bordure noire\0"
    "&Suivre la barre des tâches\0"
    "&Couleur de texte personnalisée…\0"
    "Couleur d'arrière-&plan…\0"
    "&Aucun arrière-plan\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Autre…\0"
    // Start with Windows
    "&Oui\0"
    "&Non\0"
    // The input window: title, prompt, buttons
    "Ligne supplémentaire de Kivet\0"
    "Texte de la ligne supplémentaire :\0"
    "OK\0"
    "Annuler\0"
    // The About box, the start-up entry's error
    "À propos de Kivet\0"
    "Un petit indicateur de la semaine ISO en cours dans la zone de notification de Windows.\0"
    "Kivet n'a pas pu mettre à jour le paramètre de démarrage de Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Calendrier Kivet\0"
    "Semaine %d : %ls – %ls\0"
    "Aller à la semaine %d\0"
    "Mois précédent\0"
    "Mois suivant\0"
    "%ls, semaine %d\0"
    "Aujourd'hui\0";

} // namespace

extern const LanguageTable French = {"fr", Texts, sizeof(Texts)};
