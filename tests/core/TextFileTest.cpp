#include "core/TextFile.h"
#include "LoadHarness.h"
#include "core/Errors.h"
#include "core/Utf8Path.h"

#include <gtest/gtest.h>

#include <system_error>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lobex {
namespace {

TEST(TextLines, AcceptsEveryLineEndAndDropsAByteOrderMark) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},   {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}}, {"\xEF\xBB\xBFhead\r\nrow", {"head", "row"}},
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
}

TEST(ReadFileBytes, ReadsEveryByteAndNamesWhatWentWrong) {
    test::TempFolder folder;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    EXPECT_EQ(ReadFileBytes(folder.Write("all.bin", bytes)), bytes);
    const auto failure = [](const std::string& path) -> std::optional<ReadFailure> {
        try {
            ReadFileBytes(path);
        } catch (const ReadError& e) {
            return e.Failure();
        }
        return std::nullopt;
    };
    EXPECT_EQ(failure((folder.Path() / "missing.csv").string()), ReadFailure::NotFound);
    EXPECT_EQ(failure(folder.Path().string()), ReadFailure::NotAFile);
#ifndef _WIN32
    // A pipe would block the program for good: refused without opening it.
    const std::string pipe = (folder.Path() / "pipe.csv").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(failure(pipe), ReadFailure::NotAFile);
#endif
    // Lines up to the longest allowed are read, with any line end; one byte more is refused,
    // also when it runs past the first block read.
    const std::string line(kMaxLineLength, 'x');
    for (const char* end : {"\r\n", "\n", "\r"}) {
        const std::string text = line + end + "1" + end + line;
        EXPECT_EQ(ReadFileBytes(folder.Write("fits.csv", text)), text);
    }
    EXPECT_EQ(failure(folder.Write("long.csv", "1\n" + line + "x")), ReadFailure::LineTooLong);
    EXPECT_EQ(failure(folder.Write("huge.csv", std::string(std::size_t{9} << 20, 'x'))),
              ReadFailure::LineTooLong);
}

TEST(WriteTextFile, WritesWithCrLfOrKeepsTheOldFileAndSaysSo) {
    test::LoadHarness h;
    test::TempFolder folder;
    const std::string path = (folder.Path() / "export.csv").string();
    ASSERT_TRUE(WriteTextFile(h.ctx, path, "1,2\r\n3,4", "a,b"));
    EXPECT_EQ(test::ReadBytes(path), "a,b\r\n1,2\r\n3,4\r\n");
    EXPECT_TRUE(h.messages.shown.empty());
    // A missing folder: one message, and nothing else is touched (the atomic writer's tests
    // cover what is left behind).
    const std::string missing = (folder.Path() / "no" / "x.csv").string();
    EXPECT_FALSE(WriteTextFile(h.ctx, missing, "body", "head"));
    ASSERT_EQ(h.messages.shown.size(), 1U);
    EXPECT_EQ(h.messages.shown[0].text,
              "Ошибка записи в файл. Данные не сохранены.\r\n" + missing + ": " +
                  std::make_error_code(std::errc::no_such_file_or_directory).message());
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Critical);
}

#ifndef _WIN32
// File names that are not UTF-8 exist only where names are bytes.
TEST(Utf8Path, NamesComeBackAsTheBytesTheyWere) {
    // Latin-1 "café" (not UTF-8), UTF-8 Cyrillic, and a lone continuation byte.
    const std::vector<std::string> names = {
        "caf\xe9.csv", "\xd0\xb4\xd0\xb0\xd0\xbd\xd0\xbd\xd1\x8b\xd0\xb5.csv", "x\x80y.png"};
    for (const std::string& name : names) {
        EXPECT_EQ(PathToUtf8(Utf8Path(name)), name);
    }

    test::TempFolder folder;
    for (const std::string& name : names) {
        std::ofstream(Utf8Path(folder.Path().string() + "/" + name)) << "data";
    }
    std::vector<std::string> found;
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(Utf8Path(folder.Path().string()))) {
        found.push_back(PathToUtf8(entry.path().filename()));
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}
#endif

} // namespace
} // namespace lobex
