#include "CliRun.h"
#include "FolderEntries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lobex::cli::test {
namespace {

namespace fs = std::filesystem;
using lobex::test::FolderEntries;

// lobex-cli plot run as a user runs it, through a shell; limit (in KiB, 0 for none) caps the
// size of the files it may write, as a full disk stops a write.
ProgramRun PlotLimited(const std::string& out, int limit) {
    QStringList args{QStringLiteral("-c"),
                     QStringLiteral("%1exec \"$0\" \"$@\"")
                         .arg(limit > 0 ? QStringLiteral("ulimit -f %1; ").arg(limit) : QString()),
                     QStringLiteral(LOBEX_CLI),
                     QStringLiteral("plot"),
                     QString::fromStdString(Data("sweep_50ohm.csv")),
                     QStringLiteral("--out"),
                     QString::fromStdString(out)};
    return RunProgram(args, QStringLiteral("/bin/bash"));
}

// EMF, PDF and SVG are written by the engine and checked in tests/plotter; these by the program.
const char* const kFormats[] = {"png", "jpg", "gif", "bmp"};

TEST(PlotOutputLimit, AFullDiskFailsThePlotWithTheWriteErrorAndKeepsTheOldFile) {
    for (const char* format : kFormats) {
        lobex::test::TempFolder folder;
        const std::string name = std::string("p.") + format;
        const fs::path out = folder.Path() / name;
        ASSERT_EQ(PlotLimited(out.string(), 0).code, 0) << format;
        const std::uintmax_t size = fs::file_size(out);
        ASSERT_GE(size, 2048U) << format;
        folder.Write(name, "old contents");

        const ProgramRun run = PlotLimited(out.string(), static_cast<int>(size / 2048));
        EXPECT_NE(run.code, 0) << format;
        const std::string said = "lobex-cli plot: " + out.string() + ": ";
        EXPECT_EQ(run.err.rfind(said, 0), 0U) << format << ": " << run.err;
        EXPECT_TRUE(run.err.ends_with(": File too large\n")) << format << ": " << run.err;
        EXPECT_EQ(lobex::test::ReadBytes(out), "old contents") << format;
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{name}) << format;
    }
}

TEST(PlotOutputLimit, AReadOnlyOutputIsRefusedAndALinkIsReplaced) {
    for (const char* format : kFormats) {
        lobex::test::TempFolder folder;
        const std::string name = std::string("p.") + format;
        const fs::path out = folder.Path() / name;
        folder.Write(name, "old contents");
        fs::permissions(out, fs::perms::owner_read);
        const ProgramRun refused = PlotLimited(out.string(), 0);
        EXPECT_NE(refused.code, 0) << format;
        EXPECT_TRUE(refused.err.ends_with(": Permission denied\n"))
            << format << ": " << refused.err;
        EXPECT_EQ(lobex::test::ReadBytes(out), "old contents") << format;

        fs::remove(out);
        const fs::path victim = folder.Path() / "victim.txt";
        folder.Write("victim.txt", "someone else's");
        fs::create_symlink(victim, out);
        EXPECT_EQ(PlotLimited(out.string(), 0).code, 0) << format;
        EXPECT_FALSE(fs::is_symlink(out)) << format;
        EXPECT_GT(fs::file_size(out), 1000U) << format;
        EXPECT_EQ(lobex::test::ReadBytes(victim), "someone else's") << format;
    }
}

} // namespace
} // namespace lobex::cli::test
