#include "RenderFile.h"
#include "RenderFolder.h"
#include "RenderOptions.h"
#include "cli/CliSupport.h"
#include "core/Utf8Path.h"

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

// lobex-cli render runs this program with its own arguments; a folder's files are drawn by
// further runs of it, one a file.
int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit the write is to fail and be reported, the old file kept.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    using namespace lobex;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    render::RenderOptions options;
    std::string error;
    if (!render::ParseRenderOptions(args, options, error)) {
        std::cerr << "lobex-cli render: " << error << "\n\n" << render::kRenderUsage;
        return cli::kExitUsage;
    }
    if (options.help) {
        std::cout << render::kRenderUsage;
        return cli::kExitLoaded;
    }
    std::error_code failed;
    if (std::filesystem::is_directory(Utf8Path(options.input), failed)) {
        return render::RenderFolder(options, std::cout, std::cerr);
    }
    return render::RenderFile(options, std::cout, std::cerr);
}
