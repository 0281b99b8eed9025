#pragma once

#include "AppState.h"
#include "DataView.h"
#include "Services.h"

namespace lobex {

// What a reader works on: the shared state, the window it changes, and where its messages go.
struct LoadContext {
    AppState& state;
    DataView& view;
    MessageService& messages;
};

} // namespace lobex
