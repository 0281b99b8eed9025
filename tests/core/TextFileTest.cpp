#include "core/TextFile.h"
#include "LoadHarness.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lobex {
namespace {

std::vector<std::string> ReadAllLines(const std::string& path, std::size_t blockSize) {
    LineReader reader(path, blockSize);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

TEST(LineReader, AcceptsEveryLineEndWhateverTheBlockSize) {
    struct Case {
        const char* bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\nc", {"a", "b", "c"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\xEF\xBB\xBFhead\r\nrow", {"head", "row"}},
        {"", {}},
        {"\r\n", {""}},
        {"only", {"only"}},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder.Write("lines.csv", c.bytes);
        // A block of 16 bytes splits lines and CR LF pairs across reads.
        for (std::size_t block : {std::size_t{16}, std::size_t{4096}}) {
            EXPECT_EQ(ReadAllLines(path, block), c.lines) << '"' << c.bytes << "\" block " << block;
        }
    }
}

TEST(LineReader, ReadsLinesLongerThanABlock) {
    test::TempFolder folder;
    const std::string longLine(1000, 'x');
    const std::string path = folder.Write("long.csv", longLine + "\r\n" + longLine + "\r");
    EXPECT_EQ(ReadAllLines(path, 16), (std::vector<std::string>{longLine, longLine}));
}

TEST(LineReader, RefusesMissingFilesAndFolders) {
    test::TempFolder folder;
    EXPECT_THROW(LineReader((folder.Path() / "missing.csv").string()), RuntimeError);
    EXPECT_THROW(LineReader(folder.Path().string()), RuntimeError);
    const std::string empty = folder.Write("empty.csv", "");
    EXPECT_THROW(ReadFirstLine(empty), RuntimeError);
    EXPECT_EQ(ReadFirstLine(folder.Write("cp1251.csv", "\xD7\xE0\xF1\xF2\xEE\xF2\xE0\r\n1")),
              "Частота");
}

TEST(WriteTextFile, WritesHeaderAndBodyWithCrLfAndLeavesNoTemporaryFile) {
    test::LoadHarness harness;
    test::TempFolder folder;
    const std::string path = (folder.Path() / "export.csv").string();
    ASSERT_TRUE(WriteTextFile(harness.ctx, path, "1,2\r\n3,4", "a,b"));
    EXPECT_EQ(test::ReadBytes(path), "a,b\r\n1,2\r\n3,4\r\n");
    ASSERT_TRUE(WriteTextFile(harness.ctx, path, "only body", ""));
    EXPECT_EQ(test::ReadBytes(path), "only body\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_TRUE(harness.messages.shown.empty());
}

TEST(WriteTextFile, AFailedWriteKeepsTheOldFileAndSaysSo) {
    test::LoadHarness harness;
    test::TempFolder folder;
    const std::string inMissingFolder = (folder.Path() / "no" / "such" / "x.csv").string();
    EXPECT_FALSE(WriteTextFile(harness.ctx, inMissingFolder, "body", "head"));
    EXPECT_FALSE(std::filesystem::exists(inMissingFolder));
    // A folder in the way of the target: the write fails and nothing is left behind.
    std::filesystem::create_directory(folder.Path() / "taken.csv");
    EXPECT_FALSE(WriteTextFile(harness.ctx, (folder.Path() / "taken.csv").string(), "b", "h"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
    ASSERT_EQ(harness.messages.shown.size(), 2U);
    for (const test::RecordedMessage& message : harness.messages.shown) {
        EXPECT_EQ(message.text, "Ошибка записи в файл. Данные не сохранены.");
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_EQ(message.caption, "Lobex");
    }
}

} // namespace
} // namespace lobex
