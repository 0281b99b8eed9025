#include "FuzzInput.h"
#include "core/FarField.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lobex::fuzz::WriteInput(data, size);
    lobex::test::LoadHarness h;
    if (lobex::LoadFarField(h.ctx, path)) {
        lobex::fuzz::ShowLoaded(h);
        // Cuts through other azimuths than the window's, as the 3D view may ask.
        const lobex::FarFieldGrid& grid = h.state.FarField;
        lobex::ElevationCut(h.ctx, grid.back().Azimuth, "missing");
        h.state.CutKind = 1;
        lobex::BuildCut(h.ctx, 0.0f, h.state.Pattern.MaxElevation);
        lobex::fuzz::PickEntries(h, path);
    }
    return 0;
}
