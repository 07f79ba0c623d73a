// Greek: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Πρόσθετη γραμμή…\0"
    "&Θέση πρόσθετης γραμμής\0"
    "&Αρχικό μηδενικό\0"
    "&Χρώματα κειμένου\0"
    "&Γραμματοσειρά\0"
    "&Εκκίνηση με τα Windows\0"
    "Ανα&νέωση\0"
    "Π&ληροφορίες για το Kivet…\0"
    "&Έξοδος\0"
    // Additional line position
    "&Επάνω\0"
    "&Κάτω\0"
    "Κρ&υφή\0"
    // Leading zero
    "&Ενεργό\0"
    "&Ανενεργό\0"
    // Text colours
    "&Μαύρο κείμενο / λευκό περίγραμμα\0"
    "&Λευκό κείμενο / μαύρο περίγραμμα\0"
    "&Όπως η γραμμή εργασιών\0"
    "&Προσαρμοσμένο χρώμα κειμένου…\0"
    "&Χρώμα φόντου…\0"
    "Χ&ωρίς φόντο\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Άλλη…\0"
    // Start with Windows
    "&Ναι\0"
    "&Όχι\0"
    // The input window: title, prompt, buttons
    "Πρόσθετη γραμμή του Kivet\0"
    "Κείμενο πρόσθετης γραμμής:\0"
    "OK\0"
    "Άκυρο\0"
    // The About box, the start-up entry's error
    "Πληροφορίες για το Kivet\0"
    "Ένας μικρός δείκτης της τρέχουσας εβδομάδας ISO στην περιοχή ειδοποιήσεων των Windows.\0"
    "Το Kivet δεν μπόρεσε να ενημερώσει τη ρύθμιση εκκίνησης των Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Ημερολόγιο Kivet\0"
    "Εβδομάδα %d: %ls – %ls\0"
    "Μετάβαση στην εβδομάδα %d\0"
    "Προηγούμενος μήνας\0"
    "Επόμενος μήνας\0"
    "%ls, εβδομάδα %d\0"
    "Σήμερα\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Greek = {"el", Packed.bytes, PackedSize, Block};
