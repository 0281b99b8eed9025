#pragma once

// Marks a text the user reads. The text stays as written, in Russian, the program's own
// language; the windows look it up in the chosen interface language where they show it, and the
// translation tools (scripts/update_translations.sh) collect it by this mark.
#define LOBEX_TEXT(text) text
