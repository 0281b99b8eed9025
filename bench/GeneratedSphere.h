#pragma once

#include "GeneratedFarField.h"
#include "ScratchFile.h"

#include <string>

namespace lobex::bench {

// The 0.5-degree full sphere (about 8.8 MB), written once per run and removed at its end.
inline const std::string& HalfDegreeSphereFile() {
    static const ScratchFile file("lobex-bench-farfield-0.5deg.csv");
    [[maybe_unused]] static const bool written = [] {
        lobex::test::WriteFarFieldCsv(file.path, 0.5, 180.0);
        return true;
    }();
    return file.path;
}

} // namespace lobex::bench
