#pragma once

#include "core/Texts.h"
#include "model/MaaModel.h"
#include "model/MaaNecDeck.h"
#include "scene/D3DMath.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// What the user is told when an antenna description cannot be read.
inline constexpr std::string_view kAntennaReadError =
    LOBEX_TEXT("Ошибка чтения файла описания антенны.");

// One wire of an MMANA model; its ends in scene space (the file's (X, Y, Z) as (Y, Z, X)).
struct AntennaWire {
    Vector3 End1;
    Vector3 End2;
    // From the file; not used for drawing.
    float Radius = 0.0f;
};

// One feed point. Position is in scene space and meaningful only when Valid.
struct FeedSource {
    // As written in the file, such as w1c or w12e1.
    std::string Place;
    float Value1 = 0.0f;
    float Value2 = 0.0f;
    Vector3 Position;
    bool Valid = false;
};

struct AntennaDescription {
    std::string AntennaName;
    std::string FrequencyText;
    std::vector<AntennaWire> Wires;
    std::vector<FeedSource> Sources;
    // The first field of each load line.
    std::vector<std::string> Loads;
    // The whole model in the file's coordinates, for a NEC-2 deck; not scaled.
    MaaModel Model;
};

// Where a source sits: wire number (1 = first wire) and the end letter B, C or E, upper case.
struct SourcePlace {
    int Wire = 0;
    char End = 'C';
};

// Reads a place such as w1c, W12B, w12e1 or w1c-1: "w", the whole wire number, the end letter
// in either case, then an optional signed pulse offset. Nothing for any other text.
std::optional<SourcePlace> ParseSourcePlace(std::string_view place);

// Reads an MMANA model (.maa) file: the title, the frequency, the wires, the sources and the
// loads. The text is UTF-8, Japanese Windows-932 or else Windows-1251 (see DecodeText). Section
// headers are recognised in the forms MMANA writes them, English ("***Wires***",
// "*** Source ***" or "***Source***", "***   Load   ***", "*** Load ***" or "***Load***"),
// Russian (containing "Провода", "Источ", "Нагрузка") or Japanese (containing "ﾜｲﾔ" or "ワイヤ",
// "給電点", "集中定数"). A file that breaks a rule is refused: description is then unchanged and
// why, when given, receives the reason (line number and what is wrong).
bool ReadMaaFile(const std::string& path, AntennaDescription& description,
                 std::string* why = nullptr);
// The same for a file's bytes already in memory.
bool ReadMaaText(std::string_view bytes, AntennaDescription& description,
                 std::string* why = nullptr);

// Reads an MMANA model file and writes it as a NEC-2 deck (model/MaaNecDeck.h); false with the
// reason, the file's line where one is to blame, in why.
bool ReadMaaNecDeck(const std::string& path, const NecDeckChoices& choices, MaaNecDeck& deck,
                    std::string& why);

// Scales the antenna so that its largest coordinate range becomes 1.5 scene units, the file's
// origin staying at the scene origin; source positions follow. An antenna whose coordinates
// all coincide has no range to scale by: it is left as it is and the result is false.
bool ScaleAntenna(AntennaDescription& description);

} // namespace lobex
