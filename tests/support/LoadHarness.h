#pragma once

#include "Recorders.h"
#include "RecordingView.h"
#include "core/FarField.h"
#include "core/LoadContext.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace lobex::test {

// One shared state with a recorded window and recorded messages, as a loader sees them. The
// recorded window builds the pattern cuts when asked to show a pattern, as the graphs would.
struct LoadHarness {
    LoadHarness() {
        view.onShowPattern = [this](int, int) {
            return BuildPatternCuts(ctx);
        };
    }
    LoadHarness(const LoadHarness&) = delete;
    LoadHarness& operator=(const LoadHarness&) = delete;

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& message : messages.shown) {
            texts.push_back(message.text);
        }
        return texts;
    }

    AppState state;
    RecordingView view;
    RecordingMessages messages;
    LoadContext ctx{state, view, messages};
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
