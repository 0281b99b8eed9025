#pragma once

#include "core/Texts.h"

#include <QDateTime>

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace lobex {

// Save dialog filters: the screen save, the graph save in the 3D view, and the graph save of
// plotted graphs (bitmap, PNG and metafile, then the vector formats SVG and PDF).
inline constexpr const char* kScreenSaveFilter =
    "BMP File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|JPEG File (*.jpg)|*.jpg";
// The 3D view offers the screen's three, then the pattern as a glTF model, an animated GIF
// of one full turn and one over the frequencies of a NEC-2 output.
inline constexpr const char* kGraphSave3DFilter =
    "BMP File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|JPEG File (*.jpg)|*.jpg|"
    "glTF 2.0 (*.glb)|*.glb|" LOBEX_TEXT("GIF - полный оборот (*.gif)") "|*.gif|" LOBEX_TEXT(
        "GIF - по частотам (*.gif)") "|*.gif";
// Format codes of the three additions.
inline constexpr const char* kModelFormat = "glb";
inline constexpr const char* kTurntableFormat = "turntable-gif";
inline constexpr const char* kFrequencyGifFormat = "frequency-gif";
inline constexpr const char* kGraphSaveFilter =
    "Bitmap File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|Enhanced Metafile "
    "(*.emf)|*.emf|Scalable Vector Graphics (*.svg)|*.svg|PDF File (*.pdf)|*.pdf";

// A format a save offers, and the extensions that name it, lower case, blank-separated
// ("jpg jpeg").
struct NamedFormat {
    std::string_view format;
    std::string_view extensions;
};

// The formats of the three filters above, in their order.
inline constexpr std::array<NamedFormat, 3> kScreenSaveFormats{
    {{"bmp", "bmp"}, {"png", "png"}, {"jpg", "jpg jpeg"}}};
inline constexpr std::array<NamedFormat, 6> kGraphSave3DFormats{{{"bmp", "bmp"},
                                                                 {"png", "png"},
                                                                 {"jpg", "jpg jpeg"},
                                                                 {kModelFormat, "glb"},
                                                                 {kTurntableFormat, "gif"},
                                                                 {kFrequencyGifFormat, "gif"}}};
inline constexpr std::array<NamedFormat, 5> kGraphSaveFormats{
    {{"bmp", "bmp"}, {"png", "png"}, {"emf", "emf"}, {"svg", "svg"}, {"pdf", "pdf"}}};

// What a file name typed in a save asks for. The name decides: "graph.svg" is an SVG file
// whatever filter the dialog showed.
struct FormatOfName {
    int index = 0;         // 1-based among the offered formats; 0 when the extension is not
                           // one of them
    std::string extension; // the name's extension, lower case, without the dot; "" for none
};
// The offered format whose extension the name ends in (any letter case), the chosen one (the
// filter's) first where several share it; `chosen` when the name has none. Every writer that takes
// a name calls this, the command line too.
FormatOfName FormatForFileName(std::string_view path, std::span<const NamedFormat> offered,
                               int chosen);
// ".bmp, .png, .jpg, .jpeg": the extensions offered, for a message.
std::string OfferedExtensions(std::span<const NamedFormat> offered);

// The format a save dialog's filter index selects, and the dialogs to show before saving.
struct SaveFormat {
    std::string format; // empty: cancelled (index 0) or no such entry; nothing is saved
    bool showJpegOptions = false;
    bool showGraphChoice = false;
};

// Screen save: 1 "bmp", 2 "png", 3 "jpg"; the JPEG options come first for PNG and JPEG alike.
SaveFormat ScreenSaveFormat(int filterIndex);

// Graph save: 1 "bmp", 2 "png", then "jpg" (with the JPEG options) in the 3D view, or "emf",
// "svg", "pdf" for plotted graphs, which ask which polar diagram while a pattern is shown.
SaveFormat GraphSaveFormat(int filterIndex, bool view3DActive, bool patternShown);

// Where the capture button saves: "capture-YYYYMMDD-HHMMSS.bmp" of the time given in folder
// (a new name each time; "-2", "-3", ... when a file of that name is there already).
std::string CaptureFilePath(const std::string& folder, const QDateTime& when);

// The user's pictures folder (created when missing), else the home folder, else the temporary
// folder: the first of them that can be written to.
std::string UserPicturesFolder();

// True when a file can be created in folder (tried, not guessed from permission bits).
bool FolderIsWritable(const std::string& folder);

} // namespace lobex
