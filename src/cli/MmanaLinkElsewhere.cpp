#include "CliSupport.h"

namespace lobex::cli {

// lobex-cli hands every --mmana run to lobex-mmana before a load starts, so this is not reached.
std::unique_ptr<MmanaWindowLink> MmanaLinkForCli(AppState&, std::ostream& err) {
    err << "lobex-cli: the running MMANA is read by lobex-mmana\n";
    return nullptr;
}

} // namespace lobex::cli
