#include "NecRun.h"

#include "TextRules.h"

namespace lobex {
namespace {

bool EndsWithInAnyCase(const std::string& path, std::string_view ending) {
    return path.size() >= ending.size() &&
           ToLowerAscii(std::string_view(path).substr(path.size() - ending.size())) == ending;
}

} // namespace

bool IsNecDeck(const std::string& path) {
    return EndsWithInAnyCase(path, ".nec");
}

bool IsMaaModel(const std::string& path) {
    return EndsWithInAnyCase(path, ".maa");
}

} // namespace lobex
