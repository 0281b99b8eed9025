#pragma once

#include "LoadHarness.h"
#include "core/DataGrid.h"
#include "core/LoadFlow.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// What every fuzz target shares: the input as a file the readers open, and the steps that
// follow a load in the program.
namespace lobex::fuzz {

// A ".csv" file of this process, removed when the process ends.
class InputFile {
public:
    InputFile() {
        std::random_device random;
        path_ = (std::filesystem::temp_directory_path() /
                 ("lobex-fuzz-" + std::to_string(random()) + ".csv"))
                    .string();
    }
    ~InputFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Write(const std::uint8_t* data, std::size_t size) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path_;
    }

private:
    std::string path_;
};

inline const std::string& WriteInput(const std::uint8_t* data, std::size_t size) {
    static InputFile file;
    return file.Write(data, size);
}

// What the load controller does after a reader succeeded, and what the CSV export reads.
inline void ShowLoaded(test::LoadHarness& h) {
    if (FillGrid(h.ctx)) {
        GridToSeries(h.ctx);
    }
    (void)CsvHeader(h.state.Data);
    (void)CsvBody(h.state.Data);
}

// Picks the first, the second and the last entry of the set list, as a user might.
inline void PickEntries(test::LoadHarness& h, const std::string& path) {
    h.state.CurrentFile = path;
    const int count = h.view.ParamCount();
    for (int index : {0, 1, count - 1}) {
        if (index >= 0 && index < h.view.ParamCount()) {
            ReloadForParamEntry(h.ctx, index);
        }
    }
}

} // namespace lobex::fuzz
