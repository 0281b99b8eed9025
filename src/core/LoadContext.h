#pragma once

#include "AppState.h"
#include "Services.h"

namespace lobex {

// What the load flow and the writers work on: the shared state and where messages go.
struct LoadContext {
    AppState& state;
    MessageService& messages;
};

} // namespace lobex
