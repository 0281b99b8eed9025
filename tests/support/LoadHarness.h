#pragma once

#include "Recorders.h"
#include "core/LoadFlow.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace lobex::test {

// The load flow as lobex-cli runs it: one shared state, recorded messages, the headless view.
struct LoadHarness {
    LoadHarness() = default;
    LoadHarness(const LoadHarness&) = delete;
    LoadHarness& operator=(const LoadHarness&) = delete;

    // File > Open with the file chosen.
    bool Open(const std::string& path) { return OpenFile(ctx, view, path); }
    // Picking entry `index` of the set list: CurrentFile read again for it.
    bool Pick(int index) {
        return ReloadForParamEntry(state, index,
                                   [this] { return LoadData(ctx, view, LoadSource{}); });
    }

    AppState state;
    RecordingMessages messages;
    LoadContext ctx{state, messages};
    HeadlessDataView view{ctx};
};

// A folder of its own under the system temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        do {
            path_ = base / ("lobex-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes bytes as they stand (line ends included) and gives the file's path.
    std::string Write(const std::string& name, std::string_view bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::filesystem::path Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The folders the tests read from: tests/data, and the real-world files copied into its corpus
// folder (see corpus/SOURCES.md there).
#ifdef LOBEX_TEST_DATA_DIR
inline std::filesystem::path TestDataFolder() {
    return std::filesystem::path(LOBEX_TEST_DATA_DIR);
}
inline std::filesystem::path CorpusFolder() {
    return TestDataFolder() / "corpus";
}
#endif

// Reads a whole file as bytes.
inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace lobex::test
