#include "FuzzInput.h"
#include "core/NecFile.h"

// Each part of every frequency, as --part and the frequency list ask for them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = lobex::fuzz::Bytes(data, size);
    lobex::LoadRequest request = lobex::fuzz::Request(size);
    const lobex::Parsed<lobex::NecOutput> parsed = lobex::ParseNecOutput(bytes);
    if (!parsed.result) {
        return 0;
    }
    for (const lobex::NecPart part : {lobex::NecPart::Pattern, lobex::NecPart::Sweep,
                                      lobex::NecPart::Currents, lobex::NecPart::NearField}) {
        request.necPart = part;
        for (const lobex::NecFrequency& frequency : parsed.result->frequencies) {
            request.necFrequency = frequency.mhz;
            const lobex::LoadResult result = lobex::DeriveLoad(*parsed.result, request);
            if (result.loaded) {
                lobex::fuzz::ShowLoaded(result, request);
            }
        }
    }
    for (const lobex::NecSegment& segment : parsed.result->segments) {
        (void)lobex::SegmentEnds(segment);
    }
    return 0;
}
