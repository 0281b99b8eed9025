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

// Each format's writer is checked in tests/images and tests/plotter; here that the program
// reports the failures and writes through the same safe path.
TEST(PlotOutputLimit, AFullDiskOrAReadOnlyOutputFailsAndKeepsTheOldFileAndALinkIsReplaced) {
    lobex::test::TempFolder folder;
    const fs::path out = folder.Path() / "p.png";
    ASSERT_EQ(PlotLimited(out.string(), 0).code, 0);
    const std::uintmax_t size = fs::file_size(out);
    ASSERT_GE(size, 2048U);
    folder.Write("p.png", "old contents");

    const ProgramRun full = PlotLimited(out.string(), static_cast<int>(size / 2048));
    EXPECT_NE(full.code, 0);
    EXPECT_EQ(full.err.rfind("lobex-cli plot: " + out.string() + ": ", 0), 0U) << full.err;
    EXPECT_TRUE(full.err.ends_with(": File too large\n")) << full.err;
    EXPECT_EQ(lobex::test::ReadBytes(out), "old contents");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"p.png"});

    fs::permissions(out, fs::perms::owner_read);
    const ProgramRun refused = PlotLimited(out.string(), 0);
    EXPECT_NE(refused.code, 0);
    EXPECT_TRUE(refused.err.ends_with(": Permission denied\n")) << refused.err;
    EXPECT_EQ(lobex::test::ReadBytes(out), "old contents");

    fs::remove(out);
    const fs::path victim = folder.Path() / "victim.txt";
    folder.Write("victim.txt", "someone else's");
    fs::create_symlink(victim, out);
    EXPECT_EQ(PlotLimited(out.string(), 0).code, 0);
    EXPECT_FALSE(fs::is_symlink(out));
    EXPECT_EQ(lobex::test::ReadBytes(victim), "someone else's");
}

} // namespace
} // namespace lobex::cli::test
