#pragma once

#include "core/Services.h"

namespace lobex {

// Opens the help document with the desktop's viewer for its type.
class QtHelpService final : public HelpService {
public:
    bool ShowHelp(std::string_view helpFile) override;
};

} // namespace lobex
