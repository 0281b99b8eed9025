#pragma once

#include "core/FileDialogs.h"

#include <string>
#include <vector>

namespace lobex::test {

// Answers the file dialogs with prepared choices and remembers how it was asked.
class FakeFileDialogs final : public FileDialogService {
public:
    std::string ChooseDataFile(std::string_view caption) override {
        captions.emplace_back(caption);
        return dataFile;
    }
    std::string AskOpenFile(std::string_view title, std::string_view filter,
                            std::string_view folder) override {
        openTitles.emplace_back(title);
        filters.emplace_back(filter);
        folders.emplace_back(folder);
        return openFile;
    }
    SaveChoice AskSaveFile(std::string_view filter, std::string_view folder) override {
        filters.emplace_back(filter);
        folders.emplace_back(folder);
        return save;
    }

    std::string dataFile;
    std::string openFile;
    std::vector<std::string> openTitles;
    SaveChoice save;
    std::vector<std::string> captions;
    std::vector<std::string> filters;
    std::vector<std::string> folders;
};

} // namespace lobex::test
