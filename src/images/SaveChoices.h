#pragma once

#include "core/Texts.h"

#include <string>

namespace lobex {

// Save dialog filters: the screen save, the graph save in the 3D view, and the graph save of
// plotted graphs (bitmap, PNG and metafile, then the vector formats SVG and PDF).
inline constexpr const char* kScreenSaveFilter =
    "BMP File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|JPEG File (*.jpg)|*.jpg";
// The 3D view offers the screen's three, then the pattern as a glTF model and an animated GIF
// of one full turn.
inline constexpr const char* kGraphSave3DFilter =
    "BMP File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|JPEG File (*.jpg)|*.jpg|"
    "glTF 2.0 (*.glb)|*.glb|" LOBEX_TEXT("GIF - полный оборот (*.gif)") "|*.gif";
// Format codes of the two additions.
inline constexpr const char* kModelFormat = "glb";
inline constexpr const char* kTurntableFormat = "turntable-gif";
inline constexpr const char* kGraphSaveFilter =
    "Bitmap File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|Enhanced Metafile "
    "(*.emf)|*.emf|Scalable Vector Graphics (*.svg)|*.svg|PDF File (*.pdf)|*.pdf";

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

// Where the capture button saves: "capture.bmp" in the program's folder (which ends in a
// separator), or in picturesFolder when the program's folder cannot be written to.
std::string CaptureFilePath(const std::string& appFolder, bool appFolderWritable,
                            const std::string& picturesFolder);

// True when a file can be created in folder (tried, not guessed from permission bits).
bool FolderIsWritable(const std::string& folder);

// The user's pictures folder (created when missing), else the home folder.
std::string UserPicturesFolder();

// CaptureFilePath for this machine.
std::string CaptureFileLocation(const std::string& appFolder);

} // namespace lobex
