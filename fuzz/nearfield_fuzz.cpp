#include "FuzzInput.h"
#include "core/NearField.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lobex::fuzz::ReadAndShow(data, size, lobex::ReadNearField);
    return 0;
}
