#pragma once

#include <QString>

namespace lobex {

// Where Qt keeps its own translations on this machine.
QString QtTranslationsFolder();

// Puts Qt's own Russian texts (file dialogs, standard buttons) in front of its English ones, so
// they match the program's Russian. False when the translation is not installed: Qt then stays
// in English and nothing else changes.
bool InstallQtRussian();

} // namespace lobex
