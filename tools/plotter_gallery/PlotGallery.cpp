// Renders the reference pictures of the plot engine into a folder, for a person to look at:
// plotter_gallery OUTPUT_FOLDER. Not a test; the tests check geometry, this shows the look.
#include "GalleryData.h"
#include "plotter/PlotEngine.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSvgRenderer>

#include <cstdio>
#include <numbers>

using namespace lobex;
using namespace lobex::plotter;
using namespace lobex::plotter::gallery;

namespace {

std::int32_t Plot(PlotEngine& engine, const Series& series, int curves, const std::string& commands,
                  int scale) {
    DPLOT record = MakeRecord(curves, static_cast<int>(series.x.size()),
                              series.labels.empty() ? "" : series.labels.front());
    record.Scale = scale;
    const std::int32_t document =
        engine.DPlot_Plot(record, series.x.data(), series.y.data(), commands);
    if (document <= 0) {
        std::fprintf(stderr, "plot refused: %s\n", engine.LastError().c_str());
    }
    return document;
}

void Save(PlotEngine& engine, std::int32_t document, int width, int height, const QString& path) {
    PlotMetrics metrics;
    const PlotBitmap bitmap = engine.DPlot_GetBitmapEx(document, width, height, metrics);
    ToQImage(bitmap).save(path);
    std::printf("%s  metrics L%d T%d R%d B%d  X %g..%g  Y %g..%g\n", qPrintable(path), metrics.Left,
                metrics.Top, metrics.Right, metrics.Bottom, metrics.XLo, metrics.XHi, metrics.YLo,
                metrics.YHi);
}

// An EMF as another program reads it: converted by emf2svg-conv, drawn by QtSvg.
void EmfPreview(const QString& emf, const QString& png) {
    const QString svg = emf + QStringLiteral(".svg");
    if (QProcess::execute(QStringLiteral("emf2svg-conv"),
                          {QStringLiteral("-i"), emf, QStringLiteral("-o"), svg}) != 0) {
        return;
    }
    QSvgRenderer renderer(svg);
    const QSize size = renderer.defaultSize().scaled(800, 800, Qt::KeepAspectRatio);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    image.save(png);
}

} // namespace

int main(int argc, char* argv[]) {
    // It only draws into files, so it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    QDir().mkpath(folder);
    PlotEngine engine;
    engine.SetDecimalSeparator(".");
    std::int32_t active = 0;
    engine.DPlot_Start(1, &active);

    Series sweep = SweepColumns({3, 4});
    sweep.labels = {"SWR(50.0Om)", "Ga(dBi)"};
    const std::int32_t twoAxes =
        Plot(engine, sweep, 2,
             RectangularCommands("13.9,1.12,14.4,2.17,7.27,8.09", true, "Ga(dBi)", 1,
                                 "Частота, MHz", "Частотные характеристики"),
             1);
    Save(engine, twoAxes, 800, 500, folder + "/rect_two_axes.png");
    engine.SetDevicePixelRatio(2.0);
    Save(engine, twoAxes, 800, 500, folder + "/rect_two_axes@2x.png");
    engine.SetDevicePixelRatio(1.0);
    engine.SaveEmf(twoAxes, (folder + "/rect_two_axes.emf").toStdString());
    EmfPreview(folder + "/rect_two_axes.emf", folder + "/rect_two_axes_emf.png");
    engine.SaveSvg(twoAxes, (folder + "/rect_two_axes.svg").toStdString());
    engine.SavePdf(twoAxes, (folder + "/rect_two_axes.pdf").toStdString());
    engine.SetPrinterSetup([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder + "/rect_two_axes_printed.pdf");
        return true;
    });
    engine.DPlot_Command(twoAxes, "[LineWidth(-2,10)][FilePageSetup(0.5,6,0.5,0.5)][FilePrint(1)]");

    Series log;
    for (int i = 0; i <= 60; ++i) {
        log.x.push_back(static_cast<float>(std::pow(10.0, 0.5 + i * 0.05)));
    }
    for (int i = 0; i <= 60; ++i) {
        log.y.push_back(static_cast<float>(2.0 + 40000.0 / (1.0 + std::pow(log.x[i] / 80.0, 2.0))));
    }
    log.labels = {"R, Ом"};
    const std::int32_t logAxes = Plot(engine, log, 1,
                                      RectangularCommands("3.16228,2.1,3162.28,40000", false, "", 4,
                                                          "Частота, Гц", "Логарифмические оси"),
                                      1);
    Save(engine, logAxes, 800, 500, folder + "/rect_log.png");

    const PatternCuts cuts = SamplePattern();
    const auto twoCurves = [](const Series& cut) {
        Series s = cut;
        s.y.resize(cut.x.size() * 2);
        return s;
    };
    for (const bool main : {true, false}) {
        const int size = main ? 260 : 400;
        const QString suffix = main ? QStringLiteral("main") : QStringLiteral("window");
        const std::int32_t azimuth =
            Plot(engine, twoCurves(cuts.azimuth), 2, PolarCommands(1, main, true), 1);
        const std::int32_t elevation =
            Plot(engine, twoCurves(cuts.elevation), 2, PolarCommands(2, main, true), 1);
        if (!main) {
            std::vector<float> angles(360), radii(360, 0.62f);
            for (int a = 0; a < 360; ++a) {
                angles[static_cast<std::size_t>(a)] = static_cast<float>(a);
            }
            for (const std::int32_t document : {azimuth, elevation}) {
                engine.DPlot_AddData(document, 0, 360, 3, angles.data(), radii.data());
                engine.DPlot_Command(document, "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]");
            }
        }
        Save(engine, azimuth, size, size, folder + "/polar_azimuth_" + suffix + ".png");
        Save(engine, elevation, size, size, folder + "/polar_elevation_" + suffix + ".png");
        engine.DPlot_Command(azimuth,
                             "[NoteText(\"7.35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]");
        engine.DPlot_Command(azimuth, "[LineWidth(-2,10)][SetMetafileDims(3.3,3.3)]");
        engine.SaveEmf(azimuth, (folder + "/polar_azimuth_" + suffix + ".emf").toStdString());
        EmfPreview(folder + "/polar_azimuth_" + suffix + ".emf",
                   folder + "/polar_azimuth_" + suffix + "_emf.png");
    }

    const Series pattern = OneDegreePattern();
    const std::int32_t oneDegree = Plot(engine, pattern, 2, PolarCommands(1, false, true), 1);
    Save(engine, oneDegree, 500, 500, folder + "/polar_one_degree.png");

    // The layout's edge cases: a fixed plotting area that fits and one that has to shrink, every
    // label and title, a note, and a full dashed grid.
    const std::string labelled = "[SelectCurve(2)][MultipleYAxes(2,2,0)][YAxisLabel(\"SWR\")]"
                                 "[Y2AxisLabel(\"Ga(dBi)\")][Color(2,0,0,255)][Title1(\"Yagi\")]"
                                 "[Title2(\"20 m\")][Title3(\"free space\")]"
                                 "[XAxisLabel(\"MHz\")][GridLineType(2,2)][NumTicks(3,4,2)]"
                                 "[NoteText(\"note\")][NotePosition(0.7,0.95)]";
    const std::int32_t fixedFits = Plot(engine, sweep, 2, labelled + "[Size(1,5,3,0)]", 1);
    Save(engine, fixedFits, 800, 500, folder + "/rect_fixed_fits.png");
    const std::int32_t fixedShrinks = Plot(engine, sweep, 2, labelled + "[Size(1,7,5,0)]", 1);
    Save(engine, fixedShrinks, 400, 300, folder + "/rect_fixed_shrinks.png");
    engine.SaveSvg(fixedShrinks, (folder + "/rect_fixed_shrinks.svg").toStdString());
    const std::int32_t small = Plot(engine, twoCurves(cuts.azimuth), 2,
                                    PolarCommands(1, false, true) + "[Title1(\"Azimuth\")]", 1);
    Save(engine, small, 200, 200, folder + "/polar_shrinks.png");
    Series inRadians = twoCurves(cuts.elevation);
    for (float& angle : inRadians.x) {
        angle = static_cast<float>(angle * std::numbers::pi / 180.0);
    }
    const std::int32_t radians =
        Plot(engine, inRadians, 2,
             "[Scale(8)][PolarPlotStyle(0)][Title1(\"Radians\")][NumTicks(1,8,2)]", 1);
    Save(engine, radians, 400, 420, folder + "/polar_radians.png");
    engine.SaveSvg(radians, (folder + "/polar_radians.svg").toStdString());
    return 0;
}
