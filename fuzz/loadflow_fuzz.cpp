#include "FuzzInput.h"

// The whole File > Open road: the file read, the reader chosen by the first line, the result
// applied, the grid, a set picked.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static lobex::fuzz::InputFile file;
    const std::string& path = file.Write(lobex::fuzz::Bytes(data, size));
    lobex::test::LoadHarness h;
    h.state.DecimalSeparator = size % 3 == 0 ? "," : ".";
    if (h.Open(path)) {
        (void)lobex::CsvBody(h.state.Loaded.Data, h.state.DecimalSeparator);
        const int count = static_cast<int>(h.state.Loaded.Sets.entries.size());
        for (int index : {0, 1, count - 1}) {
            h.Pick(index);
        }
    }
    return 0;
}
