#include "core/TextFile.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lobex {
namespace {

TEST(LineReader, AcceptsEveryLineEndWhateverTheBlockSize) {
    const std::string longLine(1000, 'x');
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\nc", {"a", "b", "c"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\xEF\xBB\xBFhead\r\nrow", {"head", "row"}},
        {"", {}},
        {"\r\n", {""}},
        {longLine + "\r\n" + longLine + "\r", {longLine, longLine}},
    };
    test::TempFolder folder;
    for (const auto& [bytes, expected] : cases) {
        const std::string path = folder.Write("lines.csv", bytes);
        // A block of 16 bytes splits lines and CR LF pairs across reads.
        for (std::size_t block : {std::size_t{16}, std::size_t{4096}}) {
            LineReader reader(path, block);
            std::vector<std::string> lines;
            for (std::string_view line; reader.Next(line);) {
                lines.emplace_back(line);
            }
            EXPECT_EQ(lines, expected) << '"' << bytes.substr(0, 20) << "\" block " << block;
        }
    }
}

TEST(WriteTextFile, WritesWithCrLfOrKeepsTheOldFileAndSaysSo) {
    test::LoadHarness h;
    test::TempFolder folder;
    const std::string path = (folder.Path() / "export.csv").string();
    ASSERT_TRUE(WriteTextFile(h.ctx, path, "1,2\r\n3,4", "a,b"));
    EXPECT_EQ(test::ReadBytes(path), "a,b\r\n1,2\r\n3,4\r\n");
    ASSERT_TRUE(WriteTextFile(h.ctx, path, "only body", ""));
    EXPECT_EQ(test::ReadBytes(path), "only body\r\n");
    EXPECT_TRUE(h.messages.shown.empty());

    // A missing folder, or a folder in the way of the target: nothing is left behind.
    EXPECT_FALSE(WriteTextFile(h.ctx, (folder.Path() / "no" / "x.csv").string(), "body", "head"));
    std::filesystem::create_directory(folder.Path() / "taken.csv");
    EXPECT_FALSE(WriteTextFile(h.ctx, (folder.Path() / "taken.csv").string(), "b", "h"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              2); // export.csv and taken.csv
    EXPECT_EQ(test::ReadBytes(path), "only body\r\n");
    ASSERT_EQ(h.messages.shown.size(), 2U);
    for (const test::RecordedMessage& message : h.messages.shown) {
        EXPECT_EQ(message.text, "Ошибка записи в файл. Данные не сохранены.");
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_EQ(message.caption, "Lobex");
    }
}

} // namespace
} // namespace lobex
