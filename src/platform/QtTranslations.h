#pragma once

#include "model/Checked.h"

#include <QString>

#include <string_view>

namespace lobex {

// Where Qt keeps its own translations on this machine.
QString QtTranslationsFolder();

// Puts Qt's own Russian texts (file dialogs, standard buttons) in front of its English ones, so
// they match the program's Russian. False when the translation is not installed: Qt then stays
// in English and nothing else changes.
bool InstallQtRussian();

// Puts the program's English texts in front of its Russian ones, which are their sources: every
// caption looked up afterwards comes out in English. Qt's own texts are English already. False
// when the translation cannot be read; the interface then stays Russian.
bool InstallEnglish();
// Takes the English texts away again (tests switch languages within one run).
void RemoveEnglish();

// The translation context of the texts from below the windows (messages, status texts, column
// captions, graph titles), which carry their mark (LOBEX_TEXT) instead of a class.
inline constexpr char kLowerTextContext[] = "lobex";

// A text from below the windows in the interface language. A text that is not known whole is
// taken a line at a time, and a line that is not known whole as a known lead ("Файл не найден",
// "Данные сохранены в файл: ") and the rest: file names and numbers stay as they are. Without
// the English texts installed the text comes back unchanged.
QString ShownText(std::string_view text);

// A cause in the interface language: its marked text looked up whole, then the line and the
// field put in.
QString ShownCause(const Rejection& cause);

} // namespace lobex
