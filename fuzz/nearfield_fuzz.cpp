#include "FuzzInput.h"
#include "core/NearField.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lobex::fuzz::WriteInput(data, size);
    lobex::test::LoadHarness h;
    if (lobex::LoadNearFieldFile(h.ctx, path)) {
        lobex::fuzz::ShowLoaded(h);
    }
    return 0;
}
