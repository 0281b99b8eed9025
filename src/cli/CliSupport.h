#pragma once

#include "core/AppState.h"
#include "core/LoadContext.h"
#include "core/LoadFlow.h"
#include "core/MmanaLink.h"
#include "core/Services.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the lobex-cli subcommands share: their options, and the load as File > Open does it.
namespace lobex::cli {

class JsonWriter;

// Exit codes of every subcommand.
inline constexpr int kExitLoaded = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// FILE | --mmana, [--set N] [--decimal SEP] [--help]
struct LoadOptions {
    std::string file;
    bool mmana = false; // the table of the running MMANA instead of a file
    std::optional<int> set;
    std::optional<std::string> decimal;
    bool help = false;
};

// An argument that is none of the subcommand's options: the one FILE, or else an unknown option.
// False with a reason when it cannot be taken.
bool TakeFileArgument(const std::string& arg, std::string& file, std::string& error);

// Reads the options; false with a reason when they cannot be understood.
bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& options,
                      std::string& error);

struct RecordedMessage {
    MessageIcon icon;
    std::string text;
};

class RecordingMessages final : public MessageService {
public:
    void Show(std::string_view text, MessageIcon icon, std::string_view caption) override;
    std::vector<RecordedMessage> shown;
};

// One load as the user would make it, and everything it left behind.
class Session {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the file (reader by first line), then picks the set list entry whose item data is
    // options.set. False when the load, or the pick, failed.
    bool Load(const LoadOptions& options, std::ostream& err);

    AppState state;
    RecordingMessages messages;

private:
    // Null, with the reason on err, when there is no private folder for the copy of the table.
    static std::unique_ptr<MmanaWindowLink> MmanaLinkBesideProgram(AppState& state,
                                                                   std::ostream& err);
    LoadContext ctx_{state, messages};
    HeadlessDataView view_{ctx_};
};

// An option's value read whole as an integer; false for anything else.
bool ReadOptionInt(const std::string& text, int& value);
// WIDTHxHEIGHT, each 1 to 16384 pixels.
bool ReadPictureSize(const std::string& text, std::pair<int, int>& size);
// The ending of path in lower case ("jpeg" read as "jpg") when it is one of known, else empty.
std::string PictureFormatOf(const std::string& path, std::initializer_list<std::string_view> known);

// The pattern object of info: the grid's size, the maximum and beam, the plot range.
void WritePattern(JsonWriter& json, const AppState& state);

// The captions of the grid columns the data kind uses.
std::vector<std::string> ColumnsInUse(const AppState& state);

} // namespace lobex::cli
