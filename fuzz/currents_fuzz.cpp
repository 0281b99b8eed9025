#include "FuzzInput.h"
#include "core/WireCurrents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lobex::fuzz::WriteInput(data, size);
    lobex::test::LoadHarness h;
    if (lobex::LoadCurrentsFile(h.ctx, path, 0)) {
        lobex::fuzz::ShowLoaded(h);
        lobex::fuzz::PickEntries(h, path);
    }
    return 0;
}
