#include "TouchstoneFile.h"

#include "SweepFile.h"
#include "TextRules.h"
#include "model/Touchstone.h"

namespace lobex {

bool HasTouchstoneExtension(const std::string& path) {
    return LowerExtension(path) == "s1p";
}

Parsed<Sweep> ParseTouchstone(std::string_view text) {
    Parsed<Sweep> parsed;
    Checked<TouchstoneSweep> read = ReadTouchstone(text);
    if (!read) {
        parsed.Tell(RejectionText(read.rejection), MessageIcon::Information);
        return parsed;
    }
    Sweep sweep = std::move(read.value->sweep);
    sweep.measurement = true;
    sweep.header = {"Freq(MHz)", "R(Om)", "jX(Om)", "SWR(" + ShortestText(read.value->z0) + "Om)",
                    "RL(dB)",    "|G|"};
    parsed.result = std::move(sweep);
    return parsed;
}

LoadResult ReadTouchstoneFile(std::string_view text, const LoadRequest& request) {
    return LoadParsed(KindSweep, ParseTouchstone(text), request);
}

} // namespace lobex
