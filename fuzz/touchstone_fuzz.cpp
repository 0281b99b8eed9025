#include "FuzzInput.h"
#include "core/TouchstoneFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lobex::fuzz::ReadAndShow(data, size, lobex::ReadTouchstoneFile);
    return 0;
}
