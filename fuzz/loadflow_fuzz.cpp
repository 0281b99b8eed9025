#include "FuzzInput.h"

// The whole File > Open road: the reader chosen by the first line, the grid, a set picked.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lobex::fuzz::WriteInput(data, size);
    lobex::test::LoadHarness h;
    h.state.DecimalSeparator = size % 3 == 0 ? "," : ".";
    lobex::ClearGrid(h.ctx);
    if (lobex::RunFileOpen(h.ctx, path)) {
        (void)lobex::CsvBody(h.state.Data);
        lobex::fuzz::PickEntries(h, path);
    }
    return 0;
}
