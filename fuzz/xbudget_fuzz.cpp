#include "FuzzInput.h"
#include "scene/XFileBudget.h"

#include <cstdlib>

// The scan that stands before the general .x reader: any bytes, text or binary, are walked once
// and either passed or refused with a reason.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    if (!lobex::CheckXFileBudget(lobex::fuzz::Bytes(data, size), error) && error.empty()) {
        std::abort();
    }
    return 0;
}
