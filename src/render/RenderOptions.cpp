#include "RenderOptions.h"

#include "cli/CliSupport.h"
#include "core/Utf8Path.h"
#include "view3d/GainColours.h"

#include <algorithm>
#include <filesystem>

namespace lobex::render {

const char* const kRenderUsage =
    "Usage: lobex-cli render FILE --view 3d|azimuth|elevation --out OUT [options]\n"
    "       lobex-cli render FILE --out FOLDER [options]\n"
    "       lobex-cli render FOLDER --out OUTDIR [--jobs N] [options]\n"
    "\n"
    "Draws what the window would show of a far-field file without opening it: the 3D view\n"
    "of the pattern, or the azimuth or elevation diagram. The ending of OUT picks the format:\n"
    ".png, .jpg, .gif, .svg, .pdf or .emf (a 3D picture in .svg, .pdf or .emf is its raster\n"
    "picture inside the vector file). Without --view the three pictures of FILE go into\n"
    "FOLDER as <name>-3d.png, <name>-azimuth.png and <name>-elevation.png. A FOLDER gets\n"
    "the three pictures of every far-field file in it (the .csv files whose first line is\n"
    "the far-field header), several files at a time. A wire-current file draws, with\n"
    "--view 3d only, its wires coloured by current with the legend in A or mA. A NEC-2\n"
    "output (or a .nec deck, run through nec2c first) draws the pattern of its first\n"
    "frequency, in 3D with the currents of that frequency on its wires where it has them.\n"
    "\n"
    "  --antenna MAA    show the wires and feed points of an MMANA model file (3D)\n"
    "  --turn DEG       turn the pattern about the vertical axis (3D)\n"
    "  --tilt DEG       look down on the pattern, 0 to 90 degrees: the camera rises round it\n"
    "                   as far as the view lets it (3D)\n"
    "  --gain-colours   colour the pattern by gain, with the legend (3D)\n"
    "  --floor DB       the gain colours reach DB below the peak, 10 to 60 (default 40, as\n"
    "                   in the window)\n"
    "  --axes           show the axes (3D)\n"
    "  --ground         show the ground plate (3D)\n"
    "  --wireframe      draw the surface as a wire frame (3D)\n"
    "  --size WxH       picture size in pixels (3D: default 800x600; the diagrams: their\n"
    "                   size in the main window, 380x343)\n"
    "  --format EXT     the format of the pictures written into a folder (default png)\n"
    "  --jobs N         files drawn at once for a FOLDER (default: the number of cores)\n"
    "  --turntable      an animated GIF of one whole turn of the 3D view (OUT.gif), 36\n"
    "                   pictures at ten a second\n"
    "  --frequency MHZ  of a NEC-2 output: the frequency to draw (default: the first)\n"
    "  --part pattern|currents\n"
    "                   of a NEC-2 output: the pattern (default), or with --view 3d the\n"
    "                   currents on the wires alone\n"
    "  --over-frequency an animated GIF of a NEC-2 output's 3D pattern over its frequencies\n"
    "                   (OUT.gif), a frame per frequency at two a second, one camera and\n"
    "                   one gain colour scale for all; the output needs two or more\n"
    "  --decimal SEP    the decimal symbol of the numbers shown instead of the locale's\n"
    "  --compare OTHER --difference\n"
    "                   show OTHER - FILE: the 3D view as FILE's pattern coloured by the\n"
    "                   difference, with its legend; the diagrams as the difference in dB\n"
    "                   against the angle (as lobex-cli plot --difference draws them)\n"
    "\n"
    "The 3D view needs a display with OpenGL 3.3 (xvfb-run serves).\n"
    "Exit status: 0 written, 1 a load or a picture failed, 2 usage.\n";

namespace {

bool IsFolder(const std::string& path) {
    std::error_code failed;
    return std::filesystem::is_directory(Utf8Path(path), failed);
}

// Whether the options hang together once all are read.
bool CheckOptions(RenderOptions& options, bool folderInput, std::string& error) {
    if (options.input.empty()) {
        error = "FILE or FOLDER is missing";
        return false;
    }
    if (options.out.empty()) {
        error = "--out is missing";
        return false;
    }
    const bool onePicture = options.view && !folderInput;
    if (onePicture) {
        if (!options.format.empty()) {
            error = "--format is for pictures written into a folder; the ending of OUT picks it";
            return false;
        }
        options.format = PictureFormatOf(options.out);
        if (options.format.empty()) {
            error = "OUT must end in .png, .jpg, .gif, .svg, .pdf or .emf";
            return false;
        }
    } else if (options.format.empty()) {
        options.format = "png";
    }
    if (options.difference != !options.compare.empty()) {
        error = "--compare and --difference go together";
        return false;
    }
    if (options.difference && (folderInput || options.turntable)) {
        error = "--difference is for one FILE and one picture of each view";
        return false;
    }
    if (options.jobs && !folderInput) {
        error = "--jobs is for a FOLDER";
        return false;
    }
    if (options.turntable &&
        (!onePicture || *options.view != ViewKind::View3D || options.format != "gif")) {
        error = "--turntable writes one 3D view to a .gif file";
        return false;
    }
    if (options.overFrequency &&
        (!onePicture || *options.view != ViewKind::View3D || options.format != "gif" ||
         options.turntable || options.difference || options.frequency ||
         options.part.value_or(NecPart::Pattern) != NecPart::Pattern)) {
        error = "--over-frequency writes one 3D view of the pattern to a .gif file, without "
                "--turntable, --difference, --frequency or --part currents";
        return false;
    }
    if (folderInput && (options.frequency || options.part)) {
        error = "--frequency and --part are for one FILE";
        return false;
    }
    if (options.part == NecPart::Currents && options.view != ViewKind::View3D) {
        error = "--part currents draws the 3D view only (--view 3d)";
        return false;
    }
    if (options.part == NecPart::Sweep || options.part == NecPart::NearField) {
        error = "--part takes pattern or currents here";
        return false;
    }
    return true;
}

} // namespace

const char* ViewName(ViewKind view) {
    switch (view) {
    case ViewKind::View3D:
        return "3d";
    case ViewKind::Azimuth:
        return "azimuth";
    case ViewKind::Elevation:
        return "elevation";
    }
    return "";
}

std::string PictureFormatOf(const std::string& path) {
    return cli::PictureFormatOf(path, {"png", "jpg", "gif", "svg", "pdf", "emf"});
}

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : std::string();
        // Every option but the input, the output and the folder's own ones goes to the workers.
        const std::size_t firstForwarded = options.forwarded.size();
        options.forwarded.push_back(arg);
        int number = 0;
        float angle = 0.0f;
        std::pair<int, int> size;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--out") {
            if (!hasValue || value.empty()) {
                error = "--out needs a file or folder name";
                return false;
            }
            options.out = value;
            options.forwarded.resize(firstForwarded);
            ++i;
        } else if (arg == "--view") {
            if (value == "3d") {
                options.view = ViewKind::View3D;
            } else if (value == "azimuth") {
                options.view = ViewKind::Azimuth;
            } else if (value == "elevation") {
                options.view = ViewKind::Elevation;
            } else {
                error = "--view takes 3d, azimuth or elevation";
                return false;
            }
            options.forwarded.resize(firstForwarded);
            ++i;
        } else if (arg == "--format") {
            options.format = PictureFormatOf("." + value);
            if (options.format.empty()) {
                error = "--format takes png, jpg, gif, svg, pdf or emf";
                return false;
            }
            options.forwarded.resize(firstForwarded);
            ++i;
        } else if (arg == "--jobs") {
            if (!cli::ReadOptionInt(value, number) || number < 1 || number > 256) {
                error = "--jobs takes 1 to 256";
                return false;
            }
            options.jobs = number;
            options.forwarded.resize(firstForwarded);
            ++i;
        } else if (arg == "--frequency" || arg == "--part") {
            // Read as info, table and plot read them.
            cli::LoadOptions choice;
            const cli::OptionRules rules = cli::LoadOptionRules(choice);
            const auto rule = std::ranges::find(rules, arg, &cli::OptionRule::name);
            if (!hasValue || !rule->take(value)) {
                error = rule->refusal;
                return false;
            }
            if (choice.frequency) {
                options.frequency = choice.frequency;
            }
            if (choice.part) {
                options.part = choice.part;
            }
            options.forwarded.push_back(value);
            ++i;
        } else if (arg == "--antenna") {
            if (!hasValue || value.empty()) {
                error = "--antenna needs the .maa file";
                return false;
            }
            options.antenna = value;
            options.forwarded.push_back(value);
            ++i;
        } else if (arg == "--turn" || arg == "--tilt") {
            if (!cli::ReadOptionNumber(value, angle) || angle < -3600.0f || angle > 3600.0f) {
                error = arg + " takes an angle in degrees";
                return false;
            }
            (arg == "--turn" ? options.turnDegrees : options.tiltDegrees) = angle;
            options.forwarded.push_back(value);
            ++i;
        } else if (arg == "--size") {
            if (!cli::ReadPictureSize(value, size)) {
                error = "--size takes WIDTHxHEIGHT, 1 to 16384 pixels each";
                return false;
            }
            options.size = size;
            options.forwarded.push_back(value);
            ++i;
        } else if (arg == "--floor") {
            if (!cli::ReadOptionInt(value, number) || number < kLeastGainRangeDb ||
                number > kMostGainRangeDb) {
                error = "--floor needs a number of dB from 10 to 60";
                return false;
            }
            options.floorDb = number;
            options.forwarded.push_back(value);
            ++i;
        } else if (arg == "--compare") {
            if (!hasValue || value.empty()) {
                error = "--compare needs a file name";
                return false;
            }
            options.compare = value;
            options.forwarded.push_back(value);
            ++i;
        } else if (arg == "--decimal") {
            if (!hasValue) {
                error = "--decimal needs the decimal symbol";
                return false;
            }
            options.decimal = value;
            options.forwarded.push_back(value);
            ++i;
        } else if (arg == "--gain-colours" || arg == "--gain-colors") {
            options.gainColours = true;
        } else if (arg == "--axes") {
            options.axes = true;
        } else if (arg == "--ground") {
            options.ground = true;
        } else if (arg == "--wireframe") {
            options.wireframe = true;
        } else if (arg == "--turntable") {
            options.turntable = true;
        } else if (arg == "--over-frequency") {
            options.overFrequency = true;
        } else if (arg == "--difference") {
            options.difference = true;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return false;
        } else if (!options.input.empty()) {
            error = "only one FILE or FOLDER can be given";
            return false;
        } else {
            options.input = arg;
            options.forwarded.resize(firstForwarded);
        }
    }
    return options.help || CheckOptions(options, IsFolder(options.input), error);
}

} // namespace lobex::render
