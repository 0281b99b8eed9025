#include "MmanaWindowLink.h"

namespace lobex {
namespace {

// MMANA is a Windows program; without a bridge to it, it is never found running here.
class AbsentMmanaLink final : public MmanaWindowLink {
public:
    std::uintptr_t FindMainWindow() override { return 0; }
    std::uintptr_t FindMemo(std::uintptr_t /*mainWindow*/) override { return 0; }
    std::string CopyMemoText(std::uintptr_t /*memo*/) override { return {}; }
};

} // namespace

std::unique_ptr<MmanaWindowLink> CreateMmanaWindowLink(const std::string& /*utilsFolder*/) {
    return std::make_unique<AbsentMmanaLink>();
}

} // namespace lobex
