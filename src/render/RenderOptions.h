#pragma once

#include "core/AppState.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// What lobex-render is asked for: one picture of a far-field file, the three pictures of a file
// into a folder, or those of every far-field file of a folder.
namespace lobex::render {

enum class ViewKind { View3D, Azimuth, Elevation };

struct RenderOptions {
    std::string input;            // a far-field file, or a folder of them
    std::string out;              // the picture, or the folder the pictures go to
    std::optional<ViewKind> view; // none: all three, into the folder out
    std::string format;           // png, jpg, gif, svg, pdf, emf; from out's ending for one picture
    std::string antenna;
    float turnDegrees = 0.0f;
    float tiltDegrees = 0.0f;
    std::optional<std::pair<int, int>> size;
    bool gainColours = false;
    std::optional<int> floorDb;
    bool axes = false;
    bool ground = false;
    bool wireframe = false;
    bool turntable = false;
    // Of a NEC-2 output or deck: the frequency (MHz) and part on show, and the animated GIF of
    // its pattern over all its frequencies.
    std::optional<double> frequency;
    std::optional<NecPart> part;
    bool overFrequency = false;
    std::string compare; // a far field to compare input with
    bool difference = false;
    std::optional<std::string> decimal;
    std::optional<int> jobs;
    bool help = false;
    // The arguments a worker for one file of a folder gets besides its file and folder.
    std::vector<std::string> forwarded;
};

extern const char* const kRenderUsage;

// The default size of a 3D picture.
inline constexpr std::pair<int, int> kDefault3DSize{800, 600};

// Reads the arguments; false with a reason when they cannot be understood. Whether input is a
// folder is looked at here, as the other options depend on it.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error);

// "3d", "azimuth", "elevation": the view's part of a picture's name.
const char* ViewName(ViewKind view);

// The lower-case ending of path when it is one of the formats known here ("jpeg" is "jpg"),
// otherwise empty.
std::string PictureFormatOf(const std::string& path);

} // namespace lobex::render
