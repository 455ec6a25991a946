#pragma once

class QTranslator;

// The command line speaks the terminal's language (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), from the catalogues the window uses; English where none
// of them matches. The window's own choice is for the window: a command run in
// a script or over ssh follows its environment.
namespace TerminalLanguage {

// Loads the catalogue into `translator` and installs it; false when the
// terminal asks for English or for a language without a catalogue.
bool install(QTranslator& translator);

} // namespace TerminalLanguage
