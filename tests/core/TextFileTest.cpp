#include "core/TextFile.h"
#include "LoadHarness.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lobex {
namespace {

TEST(TextLines, AcceptsEveryLineEndAndDropsAByteOrderMark) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\nc", {"a", "b", "c"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\xEF\xBB\xBFhead\r\nrow", {"head", "row"}},
        {"", {}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}}, // LF then CR: two line ends, not one
    };
    for (const auto& [bytes, expected] : cases) {
        TextLines text(bytes);
        std::vector<std::string> lines;
        for (std::string_view line; text.Next(line);) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, expected) << '"' << bytes << '"';
    }
    EXPECT_EQ(FirstLine("\xD7\xE0\xF1\xF2\xEE\xF2\xE0\r\nrest"), "Частота"); // decoded
    EXPECT_EQ(FirstLine(""), "");
}

TEST(ReadFileBytes, ReadsEveryByteAndNamesWhatWentWrong) {
    test::TempFolder folder;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    EXPECT_EQ(ReadFileBytes(folder.Write("all.bin", bytes)), bytes);
    EXPECT_EQ(ReadFileBytes(folder.Write("empty.csv", "")), "");
    const auto error = [](const std::string& path) {
        try {
            ReadFileBytes(path);
        } catch (const RuntimeError& e) {
            return std::string(e.what());
        }
        return std::string("read");
    };
    EXPECT_EQ(error((folder.Path() / "missing.csv").string()), "File not found");
    EXPECT_EQ(error(folder.Path().string()), "Path/File access error");
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
