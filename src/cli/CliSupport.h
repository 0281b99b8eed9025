#pragma once

#include "core/AppState.h"
#include "core/DataView.h"
#include "core/LoadContext.h"
#include "core/MmanaLink.h"
#include "core/Services.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// What the lobex-cli subcommands share: their options, a window made of plain values, and the
// load as File > Open does it.
namespace lobex::cli {

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

// The main window's controls as values. Showing a pattern builds its cuts, as the graphs would.
class HeadlessView final : public DataView {
public:
    struct Entry {
        std::string text;
        int itemData = 0;
    };

    // The load context whose pattern ShowPattern builds.
    void Attach(LoadContext* ctx) { ctx_ = ctx; }

    void ParamClear() override;
    void ParamAddItem(std::string_view text, int itemData) override;
    int ParamCount() const override;
    std::string ParamItemText(int index) const override;
    int ParamItemData(int index) const override;
    int ParamListIndex() const override;
    void ParamSetListIndex(int index) override;
    void ParamSetEnabled(bool) override {}
    void SetParamCaption(std::string_view) override {}
    void FillCombos(int) override {}
    void SetPatternControls(bool) override {}
    void Set3DButtonEnabled(bool) override {}
    bool ShowPattern(int left, int right) override;
    void SetStatus(std::string_view) override {}
    void ShowGrid(const GridTable&) override {}
    void SelectGridRow(int row) override;
    int GridCurrentRow() const override;
    void PumpEvents() override {}

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    LoadContext* ctx_ = nullptr;
    std::vector<Entry> entries_;
    int selected_ = -1;
    int gridRow_ = 1;
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
    HeadlessView view;

private:
    static std::unique_ptr<MmanaWindowLink> MmanaLinkBesideProgram(AppState& state);
    LoadContext ctx_{state, view, messages};
};

// The captions of the grid columns the data kind uses.
std::vector<std::string> ColumnsInUse(const AppState& state);

} // namespace lobex::cli
