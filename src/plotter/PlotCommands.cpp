#include "PlotCommands.h"

#include "Message.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>

namespace lobex::plotter {
namespace {

using Arguments = std::vector<CommandArgument>;

CommandEffect Refuse(std::string error) {
    CommandEffect effect;
    effect.error = std::move(error);
    return effect;
}

CommandEffect Done() {
    CommandEffect effect;
    effect.ok = true;
    return effect;
}

CommandEffect Output(OutputAction action) {
    CommandEffect effect = Done();
    effect.action = action;
    return effect;
}

bool CountIs(const Arguments& arguments, std::size_t least, std::size_t most) {
    return arguments.size() >= least && arguments.size() <= most;
}

std::optional<int> Integer(const Arguments& arguments, std::size_t index, int least, int most) {
    if (index >= arguments.size() || !arguments[index].IsNumber()) {
        return std::nullopt;
    }
    const double value = arguments[index].number;
    if (value != std::floor(value) || value < least || value > most) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<double> Number(const Arguments& arguments, std::size_t index, double least,
                             double most) {
    if (index >= arguments.size() || !arguments[index].IsNumber()) {
        return std::nullopt;
    }
    const double value = arguments[index].number;
    if (value < least || value > most) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> Text(const Arguments& arguments, std::size_t index) {
    if (index >= arguments.size() || !arguments[index].IsText()) {
        return std::nullopt;
    }
    return arguments[index].text;
}

CommandEffect BadArguments(std::string_view name) {
    return Refuse(Message({"bad arguments to ", name}));
}

CommandEffect FontPoints(PlotDocument& document, const Arguments& arguments) {
    const auto element = Integer(arguments, 0, 1, kFontElements);
    const auto points = Number(arguments, 1, 1.0, 144.0);
    if (!CountIs(arguments, 2, 2) || !element || !points) {
        return BadArguments("FontPoints");
    }
    document.fonts[static_cast<std::size_t>(*element - 1)].points = *points;
    return Done();
}

CommandEffect TextFont(PlotDocument& document, const Arguments& arguments) {
    const auto element = Integer(arguments, 0, 1, kFontElements);
    const auto points = Number(arguments, 1, 1.0, 144.0);
    const auto weight = Integer(arguments, 2, 0, 1000);
    const auto italic = Integer(arguments, 3, 0, 1);
    const auto underline = Integer(arguments, 4, 0, 1);
    const auto strikeout = Integer(arguments, 5, 0, 1);
    const auto charset = Integer(arguments, 6, 0, 255);
    const auto face = Text(arguments, 7);
    if (!CountIs(arguments, 8, 8) || !element || !points || !weight || !italic || !underline ||
        !strikeout || !charset || !face) {
        return BadArguments("TextFont");
    }
    FontSpec& font = document.fonts[static_cast<std::size_t>(*element - 1)];
    font.points = *points;
    font.weight = *weight == 0 ? 400 : *weight; // 0 is "the default weight"
    font.italic = *italic != 0;
    font.underline = *underline != 0;
    font.strikeout = *strikeout != 0;
    if (!face->empty()) {
        font.family = *face;
    }
    return Done();
}

CommandEffect GridLineType(PlotDocument& document, const Arguments& arguments) {
    const auto kind = Integer(arguments, 0, 0, 2);
    const auto type =
        arguments.size() > 1 ? Integer(arguments, 1, 0, kLineTypeLast) : std::optional<int>(1);
    if (!CountIs(arguments, 1, 2) || !kind || !type) {
        return BadArguments("GridLineType");
    }
    document.gridKind = *kind;
    document.gridLineType = *type;
    return Done();
}

CommandEffect AutoSize(PlotDocument& document, const Arguments& arguments) {
    if (!arguments.empty()) {
        return BadArguments("AutoSize");
    }
    document.fixedSize = false;
    return Done();
}

CommandEffect Size(PlotDocument& document, const Arguments& arguments) {
    const auto state = Integer(arguments, 0, 0, 1);
    if (!CountIs(arguments, 1, 4) || !state) {
        return BadArguments("Size");
    }
    if (*state == 0) {
        document.fixedSize = false;
        return Done();
    }
    const auto width = Number(arguments, 1, 0.1, 100.0);
    const auto height = Number(arguments, 2, 0.1, 100.0);
    if (!width || !height ||
        (arguments.size() == 4 && !arguments[3].IsEmpty() && !Integer(arguments, 3, 0, 1))) {
        return BadArguments("Size");
    }
    document.fixedSize = true;
    document.fixedWidth = *width;
    document.fixedHeight = *height;
    return Done();
}

CommandEffect ManualScale(PlotDocument& document, const Arguments& arguments) {
    if (arguments.size() != 4 && arguments.size() != 6) {
        return BadArguments("ManualScale");
    }
    std::array<std::optional<double>, 6> values;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i].IsText()) {
            return BadArguments("ManualScale");
        }
        if (arguments[i].IsNumber()) {
            values[i] = arguments[i].number;
        }
    }
    ManualLimits& limits = document.limits;
    const auto keep = [](std::optional<double>& target, const std::optional<double>& value) {
        if (value) {
            target = value;
        }
    };
    keep(limits.xLo, values[0]);
    keep(limits.yLo, values[1]);
    keep(limits.xHi, values[2]);
    keep(limits.yHi, values[3]);
    keep(limits.y2Lo, values[4]);
    keep(limits.y2Hi, values[5]);
    return Done();
}

CommandEffect SelectCurve(PlotDocument& document, const Arguments& arguments) {
    const auto curve = Integer(arguments, 0, 1, kPlotMaxCurves);
    if (!CountIs(arguments, 1, 1) || !curve) {
        return BadArguments("SelectCurve");
    }
    document.selectedCurve = *curve;
    return Done();
}

CommandEffect MultipleYAxes(PlotDocument& document, const Arguments& arguments) {
    const auto axes = Integer(arguments, 0, 1, 2);
    const auto first = Integer(arguments, 1, 1, kPlotMaxCurves);
    if (!CountIs(arguments, 2, 3) || !axes || !first ||
        (arguments.size() == 3 && !Integer(arguments, 2, 0, 0xFFFF))) {
        return BadArguments("MultipleYAxes");
    }
    document.yAxes = *axes;
    document.firstCurveOnY2 = *first;
    return Done();
}

CommandEffect SetText(std::string& target, std::string_view name, const Arguments& arguments) {
    const auto text = Text(arguments, 0);
    if (!CountIs(arguments, 1, 1) || !text) {
        return BadArguments(name);
    }
    target = *text;
    return Done();
}

CommandEffect Color(PlotDocument& document, const Arguments& arguments) {
    const auto curve = Integer(arguments, 0, 1, kPlotMaxCurves);
    const auto red = Integer(arguments, 1, 0, 255);
    const auto green = Integer(arguments, 2, 0, 255);
    const auto blue = Integer(arguments, 3, 0, 255);
    if (!CountIs(arguments, 4, 4) || !curve || !red || !green || !blue) {
        return BadArguments("Color");
    }
    document.styles[static_cast<std::size_t>(*curve - 1)].color = {
        static_cast<std::uint8_t>(*red), static_cast<std::uint8_t>(*green),
        static_cast<std::uint8_t>(*blue)};
    return Done();
}

CommandEffect Scale(PlotDocument& document, const Arguments& arguments) {
    const auto code = Integer(arguments, 0, 1, 0xFFFF);
    static constexpr std::array<int, 7> kCodes = {
        kScaleLinear,       kScaleLogY,         kScaleLogX, kScaleLogXY,
        kScalePolarRadians, kScalePolarDegrees, kScaleSmith};
    if (!CountIs(arguments, 1, 1) || !code ||
        std::find(kCodes.begin(), kCodes.end(), *code) == kCodes.end()) {
        return BadArguments("Scale");
    }
    document.scaleCode = *code;
    return Done();
}

CommandEffect PolarPlotStyle(PlotDocument& document, const Arguments& arguments) {
    const auto style = Integer(arguments, 0, 0, 3);
    if (!CountIs(arguments, 1, 1) || !style) {
        return BadArguments("PolarPlotStyle");
    }
    document.polarStyle = *style;
    return Done();
}

CommandEffect FastLines(PlotDocument& document, const Arguments& arguments) {
    const auto on = Integer(arguments, 0, 0, 1);
    if (!CountIs(arguments, 1, 1) || !on) {
        return BadArguments("FastLines");
    }
    document.fastLines = *on == 1;
    return Done();
}

CommandEffect NumTicks(PlotDocument& document, const Arguments& arguments) {
    const auto axis = Integer(arguments, 0, 1, kTickAxes);
    const auto intervals = Integer(arguments, 1, 0, 360);
    const auto minor = arguments.size() > 2 ? Integer(arguments, 2, 0, 20) : std::optional<int>(0);
    if (!CountIs(arguments, 2, 3) || !axis || !intervals || !minor) {
        return BadArguments("NumTicks");
    }
    document.ticks[static_cast<std::size_t>(*axis - 1)] = {*intervals, *minor};
    return Done();
}

CommandEffect LineWidth(PlotDocument& document, const Arguments& arguments) {
    const auto curve = Integer(arguments, 0, -2, kPlotMaxCurves);
    const auto width = Number(arguments, 1, 1.0, 500.0);
    if (!CountIs(arguments, 2, 2) || !curve || *curve == 0 || !width) {
        return BadArguments("LineWidth");
    }
    if (*curve == -2) {
        document.frameWidth = *width;
    } else if (*curve == -1) {
        for (CurveStyle& style : document.styles) {
            style.width = *width;
        }
    } else {
        document.styles[static_cast<std::size_t>(*curve - 1)].width = *width;
    }
    return Done();
}

CommandEffect LineType(PlotDocument& document, const Arguments& arguments) {
    const auto curve = Integer(arguments, 0, 1, kPlotMaxCurves);
    const auto type = Integer(arguments, 1, 0, kLineTypeLast);
    if (!CountIs(arguments, 2, 2) || !curve || !type) {
        return BadArguments("LineType");
    }
    document.styles[static_cast<std::size_t>(*curve - 1)].lineType = *type;
    return Done();
}

CommandEffect Legend(PlotDocument& document, const Arguments& arguments) {
    const auto curve = Integer(arguments, 0, 0, kPlotMaxCurves);
    const auto text = Text(arguments, 1);
    if (!CountIs(arguments, 2, 2) || !curve || !text) {
        return BadArguments("Legend");
    }
    document.legends[static_cast<std::size_t>(*curve)] = *text;
    return Done();
}

CommandEffect PointLabelCommand(PlotDocument& document, const Arguments& arguments) {
    if (arguments.empty()) {
        document.pointLabels.clear();
        return Done();
    }
    constexpr double kFar = 1e30;
    const auto x = Number(arguments, 0, -kFar, kFar);
    const auto y = Number(arguments, 1, -kFar, kFar);
    const auto text = Text(arguments, 2);
    if (!CountIs(arguments, 3, 3) || !x || !y || !text) {
        return BadArguments("PointLabel");
    }
    document.pointLabels.push_back({*x, *y, *text, document.selectedCurve});
    return Done();
}

CommandEffect SwrCircle(PlotDocument& document, const Arguments& arguments) {
    const auto swr = Number(arguments, 0, 0.0, 1000.0);
    const auto text = arguments.size() > 1 ? Text(arguments, 1) : std::optional<std::string>("");
    if (!CountIs(arguments, 1, 2) || !swr || (*swr != 0.0 && *swr < 1.0) || !text) {
        return BadArguments("SwrCircle");
    }
    document.swrCircle = *swr;
    document.swrLabel = *text;
    return Done();
}

CommandEffect NoteText(PlotDocument& document, const Arguments& arguments) {
    const auto text = Text(arguments, 0);
    if (!CountIs(arguments, 1, 1) || !text) {
        return BadArguments("NoteText");
    }
    PlotNote note;
    note.text = *text;
    document.note = note;
    return Done();
}

CommandEffect NotePosition(PlotDocument& document, const Arguments& arguments) {
    const auto x = Number(arguments, 0, 0.0, 1.0);
    const auto y = Number(arguments, 1, 0.0, 1.0);
    if (!CountIs(arguments, 2, 2) || !x || !y || !document.note) {
        return BadArguments("NotePosition");
    }
    document.note->x = *x;
    document.note->y = *y;
    return Done();
}

CommandEffect SetMetafileDims(PlotDocument& document, const Arguments& arguments) {
    const auto width = Number(arguments, 0, 0.1, 100.0);
    const auto height = Number(arguments, 1, 0.1, 100.0);
    if (!CountIs(arguments, 2, 2) || !width || !height) {
        return BadArguments("SetMetafileDims");
    }
    document.metafileWidth = *width;
    document.metafileHeight = *height;
    return Done();
}

CommandEffect FilePageSetup(PlotDocument& document, const Arguments& arguments) {
    std::array<double, 4> margins{};
    for (std::size_t i = 0; i < margins.size(); ++i) {
        const auto value = Number(arguments, i, 0.0, 20.0);
        if (!value) {
            return BadArguments("FilePageSetup");
        }
        margins[i] = *value;
    }
    if (!CountIs(arguments, 4, 4)) {
        return BadArguments("FilePageSetup");
    }
    document.page = {margins[0], margins[1], margins[2], margins[3]};
    return Done();
}

CommandEffect CopyPicture(PlotDocument&, const Arguments& arguments) {
    if (!arguments.empty()) {
        return BadArguments("CopyPicture");
    }
    return Output(OutputAction::CopyPicture);
}

CommandEffect FilePrint(PlotDocument&, const Arguments& arguments) {
    const auto copies = arguments.empty() ? std::optional<int>(1) : Integer(arguments, 0, 1, 99);
    const auto with = arguments.size() < 2
                          ? std::optional<int>(0)
                          : Integer(arguments, 1, 1, std::numeric_limits<int>::max());
    if (!CountIs(arguments, 0, 2) || !copies || !with) {
        return BadArguments("FilePrint");
    }
    CommandEffect effect = Output(OutputAction::FilePrint);
    effect.copies = *copies;
    effect.printedWith = *with;
    return effect;
}

CommandEffect PrintHeading(PlotDocument& document, const Arguments& arguments) {
    if (arguments.empty()) {
        document.printHeading.clear();
        return Done();
    }
    const auto line = Text(arguments, 0);
    if (!CountIs(arguments, 1, 1) || !line) {
        return BadArguments("PrintHeading");
    }
    document.printHeading.push_back(*line);
    return Done();
}

CommandEffect FileSaveAs(PlotDocument&, const Arguments& arguments) {
    const auto format = Integer(arguments, 0, kFormatEmf, kFormatPdf);
    const auto path = Text(arguments, 1);
    if (!CountIs(arguments, 2, 2) || !format || !path || path->empty()) {
        return BadArguments("FileSaveAs");
    }
    CommandEffect effect = Output(OutputAction::FileSaveAs);
    effect.path = *path;
    effect.format = *format;
    return effect;
}

CommandEffect ClearEditFlag(PlotDocument& document, const Arguments& arguments) {
    if (!arguments.empty()) {
        return BadArguments("ClearEditFlag");
    }
    document.edited = false;
    return Done();
}

CommandEffect FileClose(PlotDocument&, const Arguments& arguments) {
    if (!arguments.empty()) {
        return BadArguments("FileClose");
    }
    return Output(OutputAction::FileClose);
}

using Handler = std::function<CommandEffect(PlotDocument&, const Arguments&)>;

struct CommandEntry {
    std::string_view name;
    Handler handler;
};

// A command that sets one of the document's texts.
CommandEntry TextCommand(std::string_view name, std::string PlotDocument::*text) {
    return {name, [name, text](PlotDocument& document, const Arguments& arguments) {
                return SetText(document.*text, name, arguments);
            }};
}

const std::vector<CommandEntry>& Commands() {
    static const std::vector<CommandEntry> commands = {
        {"FontPoints", FontPoints},
        {"TextFont", TextFont},
        {"GridLineType", GridLineType},
        {"AutoSize", AutoSize},
        {"Size", Size},
        {"ManualScale", ManualScale},
        {"SelectCurve", SelectCurve},
        {"MultipleYAxes", MultipleYAxes},
        TextCommand("XAxisLabel", &PlotDocument::xLabel),
        TextCommand("YAxisLabel", &PlotDocument::yLabel),
        TextCommand("Y2AxisLabel", &PlotDocument::y2Label),
        TextCommand("Title1", &PlotDocument::title1),
        TextCommand("Title2", &PlotDocument::title2),
        TextCommand("Title3", &PlotDocument::title3),
        TextCommand("Caption", &PlotDocument::caption),
        {"Color", Color},
        {"Scale", Scale},
        {"PolarPlotStyle", PolarPlotStyle},
        {"NumTicks", NumTicks},
        {"FastLines", FastLines},
        {"LineWidth", LineWidth},
        {"LineType", LineType},
        {"Legend", Legend},
        {"NoteText", NoteText},
        {"NotePosition", NotePosition},
        {"PointLabel", PointLabelCommand},
        {"SwrCircle", SwrCircle},
        {"SetMetafileDims", SetMetafileDims},
        {"FilePageSetup", FilePageSetup},
        {"CopyPicture", CopyPicture},
        {"FilePrint", FilePrint},
        {"PrintHeading", PrintHeading},
        {"FileSaveAs", FileSaveAs},
        {"ClearEditFlag", ClearEditFlag},
        {"FileClose", FileClose},
    };
    return commands;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

CommandEffect ApplyCommand(PlotDocument& document, const PlotCommand& command) {
    for (const CommandEntry& entry : Commands()) {
        if (SameName(entry.name, command.name)) {
            // Every handler checks all its arguments before it changes anything.
            return entry.handler(document, command.arguments);
        }
    }
    return Refuse(Message({"unknown command ", command.name}));
}

} // namespace lobex::plotter
