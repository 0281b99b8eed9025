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
#include <string_view>

// What every fuzz target shares: the input as bytes for the readers (or as a file for the whole
// load flow), and the steps that follow a read in the program.
namespace lobex::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The decimal symbol a run reads with, varied by the input so both are reached.
inline LoadRequest Request(std::size_t size) {
    LoadRequest request;
    request.decimalSeparator = size % 2 == 0 ? "." : ",";
    return request;
}

// What the load flow does with the data a reader settled on: the grid filled and read back, and
// the CSV export of it.
inline void ShowLoaded(const LoadResult& result, const LoadRequest& request) {
    AppState state;
    state.DecimalSeparator = request.decimalSeparator;
    state.Loaded.Data = result.data;
    if (FillGrid(state)) {
        GridToSeries(state);
    }
    (void)CsvHeader(state.Loaded.Data);
    (void)CsvBody(state.Loaded.Data, state.DecimalSeparator);
}

// Reads again for the first, the second and the last entry of the set list, as a user picks them.
template <typename Reader>
void PickEntries(const LoadResult& result, std::string_view bytes, LoadRequest request,
                 Reader read) {
    if (!result.sets) {
        return;
    }
    const std::vector<SetListEntry>& entries = result.sets->entries;
    for (std::size_t index : {std::size_t{0}, std::size_t{1}, entries.size() - 1}) {
        if (index < entries.size()) {
            request.set = entries[index].itemData;
            request.setChosen = true;
            const LoadResult again = read(bytes, request);
            if (again.loaded) {
                ShowLoaded(again, request);
            }
        }
    }
}

// A ".csv" file of this process for the whole load flow, removed when the process ends.
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

    const std::string& Write(std::string_view bytes) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path_;
    }

private:
    std::string path_;
};

// Runs a reader on the input, follows a read as the program does, and picks sets.
template <typename Reader>
void ReadAndShow(const std::uint8_t* data, std::size_t size, Reader read) {
    const std::string_view bytes = Bytes(data, size);
    const LoadRequest request = Request(size);
    const LoadResult result = read(bytes, request);
    if (result.loaded) {
        ShowLoaded(result, request);
        PickEntries(result, bytes, request, read);
    }
}

} // namespace lobex::fuzz
