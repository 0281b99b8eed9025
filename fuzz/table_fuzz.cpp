#include "FuzzInput.h"
#include "core/MmanaTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lobex::fuzz::WriteInput(data, size);
    lobex::test::LoadHarness h;
    // The window text is tested whole; a file by its first line.
    (void)lobex::IsMmanaTable(std::string_view(reinterpret_cast<const char*>(data), size));
    h.state.DecimalSeparator = size % 2 == 0 ? "." : ",";
    if (lobex::LoadTableFile(h.ctx, path)) {
        lobex::fuzz::ShowLoaded(h);
        lobex::fuzz::PickEntries(h, path);
    }
    return 0;
}
