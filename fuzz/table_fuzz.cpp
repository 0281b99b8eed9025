#include "FuzzInput.h"
#include "core/MmanaTable.h"
#include "core/TextRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The window text is tested whole; a file by its first line.
    (void)lobex::IsMmanaTable(lobex::fuzz::Bytes(data, size));
    // Tables are read decoded, as the header dispatch hands them over.
    lobex::fuzz::ReadAndShow(data, size,
                             [](std::string_view bytes, const lobex::LoadRequest& request) {
                                 return lobex::ReadTable(lobex::DecodeText(bytes), request);
                             });
    return 0;
}
