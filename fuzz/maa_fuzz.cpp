#include "FuzzInput.h"
#include "view3d/AntennaDescription.h"

#include <cmath>
#include <cstdlib>

// The .maa reader, then what the 3D view does with a description it accepts: the scaling to the
// scene, and the source places read on their own.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = lobex::fuzz::Bytes(data, size);
    lobex::AntennaDescription antenna;
    std::string why;
    if (lobex::ReadMaaText(bytes, antenna, &why)) {
        const std::size_t wires = antenna.Wires.size();
        if (lobex::ScaleAntenna(antenna) && antenna.Wires.size() != wires) {
            std::abort(); // scaling moves wires, never adds or drops one
        }
    } else if (why.empty()) {
        std::abort(); // a refusal always says why
    }
    (void)lobex::ParseSourcePlace(bytes.substr(0, 32));
    return 0;
}
