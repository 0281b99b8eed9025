#include "EmfReader.h"
#include "PlotFixtures.h"
#include "plotter/EmfPaintDevice.h"
#include "plotter/PlotEngine.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex::plotter {
namespace {

using test::EmfRecord;
using test::MakeRecord;
using test::PolarCommands;
using test::RectangularCommands;

constexpr std::uint32_t kRedPen = 0x000000FF; // COLORREF of pure red
constexpr std::uint32_t kBluePen = 0x00FF0000;

class RecordingClipboard final : public PlotClipboard {
public:
    bool SetPicture(const QImage& picture, const QByteArray& drawing) override {
        ++calls;
        image = picture;
        svg = drawing;
        return accept;
    }
    int calls = 0;
    bool accept = true;
    QImage image;
    QByteArray svg;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PlotOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        engine.DPlot_Start(1, nullptr);
        engine.SetDecimalSeparator(".");
        engine.SetClipboard(&clipboard);
    }

    std::int32_t SweepDocument() {
        test::Series sweep = test::SweepColumns({3, 4});
        DPLOT record = MakeRecord(2, static_cast<int>(sweep.x.size()), "SWR(50.0Om)");
        const std::int32_t document =
            engine.DPlot_Plot(record, sweep.x.data(), sweep.y.data(),
                              RectangularCommands("13.9,1.12,14.42,2.17,7.27,8.09", true, "Ga(dBi)",
                                                  1, "Частота, MHz", "Частотные характеристики"));
        EXPECT_GT(document, 0) << engine.LastError();
        return document;
    }

    std::int32_t PolarDocument(bool main) {
        const test::Series pattern = test::OneDegreePattern();
        DPLOT record = MakeRecord(2, static_cast<int>(pattern.x.size()), "Total");
        const std::int32_t document = engine.DPlot_Plot(record, pattern.x.data(), pattern.y.data(),
                                                        PolarCommands(1, main, true));
        EXPECT_GT(document, 0) << engine.LastError();
        return document;
    }

    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    static std::string SaveCommand(const char* prefix, const QString& path) {
        return std::string(prefix) + "[FileSaveAs(4097,\"" + path.toStdString() + "\")]";
    }

    // The files in the folder: nothing but the expected ones, no temporary leftovers.
    QStringList Files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir folder;
    RecordingClipboard clipboard;
    PlotEngine engine;
};

TEST_F(PlotOutputTest, SavedMetafileHasAValidHeaderAndFraming) {
    const std::int32_t document = SweepDocument();
    const QString path = Path("graph.emf");
    ASSERT_GT(engine.DPlot_Command(document, SaveCommand("[SetMetafileDims(5,3)]", path)), 0)
        << engine.LastError();
    const QByteArray file = ReadAll(path);
    std::string error;
    const std::vector<EmfRecord> records = test::ReadEmf(file, error);
    ASSERT_FALSE(records.empty()) << error;

    const EmfRecord& header = records.front();
    EXPECT_EQ(header.type, emf::kHeader);
    EXPECT_EQ(header.U(40), emf::kSignature);
    EXPECT_EQ(header.U(44), 0x00010000U);
    EXPECT_EQ(header.U(48), static_cast<std::uint32_t>(file.size()));
    EXPECT_EQ(header.U(52), static_cast<std::uint32_t>(records.size()));
    // Bounds in device pixels at 1200 per inch, frame in hundredths of a millimetre: 5 x 3 in.
    EXPECT_EQ(header.I(8), 0);
    EXPECT_EQ(header.I(16), 5 * 1200 - 1);
    EXPECT_EQ(header.I(20), 3 * 1200 - 1);
    EXPECT_EQ(header.I(32), 12700 - 1);
    EXPECT_EQ(header.I(36), 7620 - 1);
    // The reference device: pixels per millimetre agree with 1200 per inch.
    const double dpi = header.I(72) / (header.I(80) / 25.4);
    EXPECT_NEAR(dpi, 1200.0, 1.0);
    const QString description = test::Utf16(header.data, header.U(64), header.U(60));
    EXPECT_TRUE(
        description.startsWith(QStringLiteral("Lobex") + QChar(0) + QStringLiteral("Lobex Data")))
        << description.toStdString();
    // At least as many object slots as the records use.
    std::uint32_t highest = 0;
    for (const EmfRecord& record : records) {
        if (record.type == emf::kExtCreatePen || record.type == emf::kCreateBrushIndirect ||
            record.type == emf::kExtCreateFontIndirectW) {
            highest = std::max(highest, record.U(8));
        }
    }
    EXPECT_LT(highest, test::U16(header.data, 56));

    const EmfRecord& last = records.back();
    EXPECT_EQ(last.type, emf::kEof);
    EXPECT_EQ(last.U(16), 20U);
    EXPECT_EQ(Files(), QStringList{QStringLiteral("graph.emf")});
}

TEST_F(PlotOutputTest, SavedMetafileDrawsTheCurvesAsVectors) {
    const std::int32_t document = SweepDocument();
    const QString path = Path("graph.emf");
    ASSERT_GT(engine.DPlot_Command(document, SaveCommand("[SetMetafileDims(5,3)]", path)), 0);
    std::string error;
    const std::vector<EmfRecord> records = test::ReadEmf(ReadAll(path), error);
    ASSERT_FALSE(records.empty()) << error;

    std::map<std::uint32_t, std::uint32_t> penColours; // object slot -> colour
    std::uint32_t pen = 0;
    std::map<std::uint32_t, std::size_t> pointsByColour;
    for (const EmfRecord& record : records) {
        if (record.type == emf::kExtCreatePen) {
            penColours[record.U(8)] = record.U(40); // elpColor
        } else if (record.type == emf::kSelectObject && penColours.count(record.U(8)) != 0) {
            pen = penColours[record.U(8)];
        } else if (record.type == emf::kPolyline || record.type == emf::kPolyPolyline) {
            const std::uint32_t count = record.type == emf::kPolyline ? record.U(24) : record.U(28);
            pointsByColour[pen] += count;
            // Every point lies within the picture.
            const qsizetype first = record.type == emf::kPolyline ? 28 : 32 + 4 * record.U(24);
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::int32_t x = record.I(first + 8 * i);
                const std::int32_t y = record.I(first + 8 * i + 4);
                ASSERT_GE(x, 0);
                ASSERT_LE(x, 6000);
                ASSERT_GE(y, 0);
                ASSERT_LE(y, 3600);
            }
        }
    }
    const std::size_t sweepPoints = test::SweepColumns({3}).x.size();
    EXPECT_GE(pointsByColour[kRedPen], sweepPoints);
    EXPECT_GE(pointsByColour[kBluePen], sweepPoints);
}

TEST_F(PlotOutputTest, SavedMetafileHoldsItsTextAsText) {
    const std::int32_t document = SweepDocument();
    const QString path = Path("graph.emf");
    ASSERT_GT(engine.DPlot_Command(document, SaveCommand("[SetMetafileDims(5,3)]", path)), 0);
    std::string error;
    const std::vector<EmfRecord> records = test::ReadEmf(ReadAll(path), error);
    QStringList texts;
    bool turnedFont = false;
    QString turnedText;
    bool currentTurned = false;
    std::map<std::uint32_t, bool> fonts;
    for (const EmfRecord& record : records) {
        if (record.type == emf::kExtCreateFontIndirectW) {
            fonts[record.U(8)] = record.I(20) == 900; // escapement in tenths of a degree
            turnedFont = turnedFont || record.I(20) == 900;
            EXPECT_LT(record.I(12), 0); // character height, not cell height
        } else if (record.type == emf::kSelectObject && fonts.count(record.U(8)) != 0) {
            currentTurned = fonts[record.U(8)];
        } else if (record.type == emf::kExtTextOutW) {
            texts.append(test::TextOf(record));
            if (currentTurned) {
                turnedText = test::TextOf(record);
            }
        }
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("Частотные характеристики")))
        << texts.join('|').toStdString();
    // Text of mixed scripts comes in runs, one record each.
    EXPECT_TRUE(texts.join(QString()).contains(QStringLiteral("Частота, MHz")));
    EXPECT_TRUE(texts.contains(QStringLiteral("14.2")));
    EXPECT_TRUE(turnedFont);
    EXPECT_FALSE(turnedText.isEmpty());
}

TEST_F(PlotOutputTest, PolarMetafileCarriesTheGainNoteAndCircles) {
    const std::int32_t document = PolarDocument(false);
    const QString path = Path("polar.emf");
    ASSERT_GT(
        engine.DPlot_Command(
            document, SaveCommand("[NoteText(\"7.35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]"
                                  "[LineWidth(-2,10)][SetMetafileDims(3.3,3.3)]",
                                  path)),
        0)
        << engine.LastError();
    std::string error;
    const std::vector<EmfRecord> records = test::ReadEmf(ReadAll(path), error);
    ASSERT_FALSE(records.empty()) << error;
    EXPECT_EQ(records.front().I(32), 8382 - 1); // 3.3 inches
    int ellipses = 0;
    QStringList texts;
    for (const EmfRecord& record : records) {
        ellipses += record.type == emf::kEllipse ? 1 : 0;
        if (record.type == emf::kExtTextOutW) {
            texts.append(test::TextOf(record));
        }
    }
    EXPECT_GE(ellipses, 5); // the outer circle and the rings
    EXPECT_TRUE(texts.contains(QStringLiteral("7.35dBi")));
    EXPECT_TRUE(texts.contains(QStringLiteral("350")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Азимут")));
}

TEST_F(PlotOutputTest, AnotherProgramReadsTheMetafile) {
    const QString converter = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
    if (converter.isEmpty()) {
        GTEST_SKIP() << "emf2svg-conv is not installed (scripts/setup.sh installs it)";
    }
    const std::int32_t document = SweepDocument();
    const QString path = Path("graph.emf");
    ASSERT_GT(engine.DPlot_Command(document, SaveCommand("[SetMetafileDims(5,3)]", path)), 0);
    const QString svg = Path("graph.svg");
    ASSERT_EQ(QProcess::execute(converter, {QStringLiteral("-i"), path, QStringLiteral("-o"), svg}),
              0);
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    // The converter sizes its drawing from the header's bounds: 5 x 3 inches at 1200 per inch.
    EXPECT_NEAR(renderer.viewBoxF().width() / renderer.viewBoxF().height(), 5.0 / 3.0, 0.01);
    const QByteArray text = ReadAll(svg);
    EXPECT_TRUE(text.contains("Частотные характеристики"));
}

TEST_F(PlotOutputTest, SavingClearsTheEditFlagAndReplacesAnOldFile) {
    const std::int32_t document = SweepDocument();
    const QString path = Path("graph.emf");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    ASSERT_GT(engine.DPlot_Command(document, SaveCommand("[SetMetafileDims(5,3)]", path)), 0);
    EXPECT_FALSE(engine.FindDocument(document)->edited);
    const QByteArray file = ReadAll(path);
    EXPECT_EQ(test::U32(file, 40), emf::kSignature);
    EXPECT_EQ(test::U32(file, 48), static_cast<std::uint32_t>(file.size()));
    EXPECT_EQ(Files(), QStringList{QStringLiteral("graph.emf")});
}

TEST_F(PlotOutputTest, AFailedSaveReportsFailureAndLeavesNothingBehind) {
    const std::int32_t document = SweepDocument();
    // A folder that does not exist, and a path that is a folder.
    EXPECT_EQ(engine.DPlot_Command(document, SaveCommand("", Path("missing/graph.emf"))), 0);
    QDir(folder.path()).mkdir(QStringLiteral("taken.emf"));
    EXPECT_EQ(engine.DPlot_Command(document, SaveCommand("", Path("taken.emf"))), 0);
    EXPECT_FALSE(engine.LastError().empty());
    EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
    EXPECT_TRUE(engine.FindDocument(document)->edited);
}

TEST_F(PlotOutputTest, SvgIsReadableByQtSvg) {
    const std::int32_t document = SweepDocument();
    engine.DPlot_Command(document, "[SetMetafileDims(5,3)]");
    const QString path = Path("graph.svg");
    ASSERT_TRUE(engine.SaveSvg(document, path.toStdString())) << engine.LastError();
    QSvgRenderer renderer(path);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 480, 288));
    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.contains("width=\"127mm\" height=\"76.2mm\"")); // 5 x 3 inches
    EXPECT_TRUE(text.contains("<title>Lobex Data</title>"));
    EXPECT_TRUE(text.contains("Частотные характеристики"));
}

TEST_F(PlotOutputTest, PdfFileIsAPdf) {
    const std::int32_t document = SweepDocument();
    const QString path = Path("graph.pdf");
    ASSERT_TRUE(engine.SavePdf(document, path.toStdString())) << engine.LastError();
    const QByteArray file = ReadAll(path);
    EXPECT_TRUE(file.startsWith("%PDF-"));
    EXPECT_TRUE(file.trimmed().endsWith("%%EOF"));
    EXPECT_FALSE(engine.SavePdf(document + 99, path.toStdString()));
}

TEST_F(PlotOutputTest, PrintingGoesThroughThePrinter) {
    const std::int32_t document = SweepDocument();
    const QString path = Path("printed.pdf");
    int asked = 0;
    engine.SetPrinterSetup([&](QPrinter& printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    });
    ASSERT_GT(engine.DPlot_Command(
                  document, "[LineWidth(-2,10)][FilePageSetup(0.5,6,0.5,0.5)][FilePrint(1)]"),
              0)
        << engine.LastError();
    EXPECT_EQ(asked, 1);
    const QByteArray file = ReadAll(path);
    EXPECT_TRUE(file.startsWith("%PDF-"));
    EXPECT_GT(file.size(), 2000);
    EXPECT_EQ(Files(), QStringList{QStringLiteral("printed.pdf")});
}

TEST_F(PlotOutputTest, PolarGraphsPrintToo) {
    const std::int32_t document = PolarDocument(true);
    const QString path = Path("polar.pdf");
    engine.SetPrinterSetup([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    });
    ASSERT_GT(engine.DPlot_Command(
                  document, "[LineWidth(-2,10)][FilePageSetup(0.5,5,0.2,0.2)][FilePrint(1)]"),
              0)
        << engine.LastError();
    EXPECT_TRUE(ReadAll(path).startsWith("%PDF-"));
}

TEST_F(PlotOutputTest, PrintingFailsWhenCancelledOrWithoutRoom) {
    const std::int32_t document = SweepDocument();
    const QString path = Path("printed.pdf");
    engine.SetPrinterSetup([](QPrinter&) { return false; });
    EXPECT_EQ(engine.DPlot_Command(document, "[FilePrint(1)]"), 0);
    engine.SetPrinterSetup([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    });
    EXPECT_EQ(engine.DPlot_Command(document, "[FilePageSetup(0.5,19,0.5,0.5)][FilePrint(1)]"), 0);
    EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
    // The refused string left the margins as they were.
    EXPECT_EQ(engine.FindDocument(document)->page.top, 0.5);
}

TEST_F(PlotOutputTest, CopyPictureGivesAnImageAndAnSvgOfTheMetafileSize) {
    const std::int32_t document = SweepDocument();
    ASSERT_GT(engine.DPlot_Command(document, "[SetMetafileDims(5,3)][CopyPicture()]"), 0);
    ASSERT_EQ(clipboard.calls, 1);
    EXPECT_EQ(clipboard.image.size(), QSize(480, 288));
    QSvgRenderer renderer(clipboard.svg);
    EXPECT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 480, 288));
}

TEST_F(PlotOutputTest, CopiedPolarGraphHasTheSizeItWasShownAt) {
    const std::int32_t document = PolarDocument(true);
    PlotMetrics metrics;
    engine.DPlot_GetBitmapEx(document, 270, 250, metrics);
    ASSERT_GT(engine.DPlot_Command(document, "[NoteText(\"7.35dBi\")][NotePosition(0.0,1.0)]"
                                             "[FontPoints(7,7)][LineWidth(-2,10)][CopyPicture()]"),
              0);
    EXPECT_EQ(clipboard.image.size(), QSize(270, 250));
    // The note sits in the top left corner, in dark ink.
    int dark = 0;
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 60; ++column) {
            dark += qGray(clipboard.image.pixel(column, row)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 20);
}

TEST_F(PlotOutputTest, CopyFailsWhenTheClipboardRefuses) {
    const std::int32_t document = SweepDocument();
    clipboard.accept = false;
    EXPECT_EQ(engine.DPlot_Command(document, "[CopyPicture()]"), 0);
}

TEST_F(PlotOutputTest, SystemClipboardReceivesBothForms) {
    engine.SetClipboard(nullptr);
    const std::int32_t document = SweepDocument();
    ASSERT_GT(engine.DPlot_Command(document, "[SetMetafileDims(5,3)][CopyPicture()]"), 0)
        << engine.LastError();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).startsWith("<?xml"));
}

TEST_F(PlotOutputTest, SaveAsAlsoWritesSvgAndPdfByTheirOwnCodes) {
    const std::int32_t document = SweepDocument();
    const QString svg = Path("graph.svg");
    const QString pdf = Path("graph.pdf");
    ASSERT_GT(engine.DPlot_Command(document, "[FileSaveAs(4098,\"" + svg.toStdString() + "\")]"), 0)
        << engine.LastError();
    ASSERT_GT(engine.DPlot_Command(document, "[FileSaveAs(4099,\"" + pdf.toStdString() + "\")]"), 0)
        << engine.LastError();
    EXPECT_TRUE(QSvgRenderer(svg).isValid());
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
    EXPECT_EQ(engine.DPlot_Command(document, "[FileSaveAs(4100,\"x.bin\")]"), 0);
}

} // namespace
} // namespace lobex::plotter
