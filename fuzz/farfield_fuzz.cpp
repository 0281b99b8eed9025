#include "FuzzInput.h"
#include "core/FarField.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = lobex::fuzz::Bytes(data, size);
    const lobex::LoadRequest request = lobex::fuzz::Request(size);
    const lobex::LoadResult result = lobex::ReadFarField(bytes, request);
    if (!result.loaded) {
        return 0;
    }
    lobex::fuzz::ShowLoaded(result, request);
    lobex::fuzz::PickEntries(result, bytes, request, lobex::ReadFarField);
    // The pattern's cuts as the graphs build them, and a cut through another azimuth than the
    // window's, as the 3D view may ask.
    lobex::test::LoadHarness h;
    h.state.Loaded.FarField = result.farField;
    h.state.Loaded.Pattern = result.pattern;
    lobex::BuildPatternCuts(h.ctx);
    lobex::ElevationCut(h.state.Loaded.FarField, h.state.Loaded.FarField.back().Azimuth,
                        h.state.Loaded.Data);
    return 0;
}
