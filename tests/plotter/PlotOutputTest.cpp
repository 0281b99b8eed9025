#include "plotter/PlotOutput.h"
#include "GraphWorld.h"
#include "graphs/RectangularGraph.h"
#include "plotter/EmfPaintDevice.h"
#include "plotter/PlotEngine.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <tuple>

namespace lobex::plotter {
namespace {

using EngineWorld = lobex::test::GraphWorld<PlotEngine>;

// A small Enhanced Metafile reader of the test's own, written from the format description and
// not from the writer, so that the files are checked against the format.
struct EmfRecord {
    std::uint32_t type = 0;
    QByteArray data; // the whole record, type and size included
    std::uint32_t U(qsizetype at) const {
        return qFromLittleEndian<quint32>(data.constData() + at);
    }
    std::int32_t I(qsizetype at) const { return static_cast<std::int32_t>(U(at)); }
    std::uint16_t U16(qsizetype at) const {
        return qFromLittleEndian<quint16>(data.constData() + at);
    }
    // The text of an EXTTEXTOUTW record.
    QString Text() const {
        QString text;
        for (std::uint32_t i = 0; i < U(44); ++i) {
            text.append(QChar(U16(U(48) + 2 * i)));
        }
        return text;
    }
};

// The records in file order; an empty list and a reason when the framing is broken.
std::vector<EmfRecord> ReadEmf(const QByteArray& file, std::string& error) {
    std::vector<EmfRecord> records;
    for (qsizetype at = 0; at < file.size();) {
        const EmfRecord head{0, file.mid(at, 8)};
        const std::uint32_t size = head.data.size() == 8 ? head.U(4) : 0;
        if (size < 8 || size % 4 != 0 || at + static_cast<qsizetype>(size) > file.size()) {
            error = "bad record size " + std::to_string(size) + " at " + std::to_string(at);
            return {};
        }
        records.push_back({head.U(0), file.mid(at, size)});
        at += size;
    }
    return records;
}

constexpr std::uint32_t kRedPen = 0x000000FF; // COLORREF of pure red
constexpr std::uint32_t kBluePen = 0x00FF0000;
constexpr std::size_t kSweepPoints = 7; // rows of sweep_50ohm.csv

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

// The documents of the main window's sweep graph (R, and jX on a second axis) and of the polar
// window's azimuth diagram, as the graph code makes them.
class PlotOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(sweep.Start() && polar.Start());
        ASSERT_TRUE(sweep.OpenTestData("sweep_50ohm.csv"));
        PlotXY(sweep.graph, 1, 2); // as the curve lists do after a load
        ASSERT_TRUE(polar.OpenTestData("farfield_below_horizon_30deg.csv"));
        sweep.api.SetClipboard(&clipboard);
        polar.api.SetClipboard(&clipboard);
    }
    std::int32_t SweepDocument() const { return sweep.Slot(kMainSlot).DocNum; }
    std::int32_t PolarDocument() const { return polar.Slot(kAzimuthSlot).DocNum; }

    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    static std::string SaveAs(const QString& path, int code = 4097) {
        return std::string("[FileSaveAs(") + std::to_string(code) + ",\"" + path.toStdString() +
               "\")]";
    }
    // The records of a metafile the document saved with the commands before the save.
    std::vector<EmfRecord> SavedMetafile(PlotEngine& from, std::int32_t document,
                                         const std::string& before, QByteArray* bytes = nullptr) {
        const QString path = Path("graph.emf");
        EXPECT_GT(from.DPlot_Command(document, before + SaveAs(path)), 0) << from.LastError();
        const QByteArray file = ReadAll(path);
        if (bytes != nullptr) {
            *bytes = file;
        }
        std::string error;
        const std::vector<EmfRecord> records = ReadEmf(file, error);
        EXPECT_FALSE(records.empty()) << error;
        return records;
    }
    // The files in the folder: nothing but the expected ones, no temporary leftovers.
    QStringList Files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir folder;
    RecordingClipboard clipboard;
    EngineWorld sweep;
    EngineWorld polar{PlotHostKind::PolarWindow};
    PlotEngine& engine = sweep.api;
};

TEST_F(PlotOutputTest, SavedMetafileHasItsHeaderCurvesAndTextsRecordByRecord) {
    QByteArray file;
    const std::vector<EmfRecord> records =
        SavedMetafile(engine, SweepDocument(), "[SetMetafileDims(5,3)]", &file);
    ASSERT_FALSE(records.empty());
    const EmfRecord& header = records.front();
    EXPECT_EQ(header.type, emf::kHeader);
    EXPECT_EQ(header.U(40), emf::kSignature);
    EXPECT_EQ(header.U(52), static_cast<std::uint32_t>(records.size()));
    EXPECT_EQ(header.U(48), static_cast<std::uint32_t>(file.size()));
    // Bounds in device pixels at 1200 per inch, frame in hundredths of a millimetre: 5 x 3 in.
    EXPECT_EQ(header.I(16), 5 * 1200 - 1);
    EXPECT_EQ(header.I(20), 3 * 1200 - 1);

    std::map<std::uint32_t, std::uint32_t> pens; // object slot -> colour
    std::map<std::uint32_t, bool> fonts;         // object slot -> turned upwards
    std::uint32_t pen = 0, highestSlot = 0;
    bool turned = false;
    std::map<std::uint32_t, std::size_t> pointsByColour;
    QStringList texts, turnedTexts;
    for (const EmfRecord& record : records) {
        switch (record.type) {
        case emf::kExtCreatePen:
            pens[record.U(8)] = record.U(40); // elpColor
            highestSlot = std::max(highestSlot, record.U(8));
            break;
        case emf::kExtCreateFontIndirectW:
            fonts[record.U(8)] = record.I(20) == 900; // escapement in tenths of a degree
            highestSlot = std::max(highestSlot, record.U(8));
            break;
        case emf::kSelectObject:
            pen = pens.count(record.U(8)) != 0 ? pens[record.U(8)] : pen;
            turned = fonts.count(record.U(8)) != 0 ? fonts[record.U(8)] : turned;
            break;
        case emf::kPolyline:
        case emf::kPolyPolyline: {
            const bool single = record.type == emf::kPolyline;
            const std::uint32_t count = single ? record.U(24) : record.U(28);
            pointsByColour[pen] += count;
            const qsizetype first = single ? 28 : 32 + 4 * record.U(24);
            for (std::uint32_t i = 0; i < count; ++i) { // within the picture
                ASSERT_TRUE(record.I(first + 8 * i) >= 0 && record.I(first + 8 * i) <= 6000);
                ASSERT_TRUE(record.I(first + 8 * i + 4) >= 0 &&
                            record.I(first + 8 * i + 4) <= 3600);
            }
            break;
        }
        case emf::kExtTextOutW:
            (turned ? turnedTexts : texts).append(record.Text());
            break;
        default:
            break;
        }
    }
    EXPECT_LT(highestSlot, header.U16(56)); // as many object slots as are used
    EXPECT_GE(pointsByColour[kRedPen], kSweepPoints);
    EXPECT_GE(pointsByColour[kBluePen], kSweepPoints);
    EXPECT_TRUE(texts.contains(QStringLiteral("Частотные характеристики")))
        << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("14.20"))) << texts.join('|').toStdString();
    // The Y labels, turned.
    EXPECT_EQ(turnedTexts, (QStringList{QStringLiteral("R"), QStringLiteral("j X")}))
        << turnedTexts.join('|').toStdString();
    EXPECT_EQ(Files(), QStringList{QStringLiteral("graph.emf")});
}

TEST_F(PlotOutputTest, AFailedSaveLeavesNothingAndKeepsTheDocumentEdited) {
    const std::int32_t document = SweepDocument();
    // A folder that does not exist. (The other ways a write fails are the atomic writer's own.)
    EXPECT_EQ(engine.DPlot_Command(document, SaveAs(Path("missing/graph.emf"))), 0);
    EXPECT_FALSE(engine.LastError().empty());
    EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
    EXPECT_TRUE(engine.FindDocument(document)->edited);
    SavedMetafile(engine, document, "[SetMetafileDims(5,3)]");
    EXPECT_FALSE(engine.FindDocument(document)->edited);
}

TEST_F(PlotOutputTest, SvgAndPdfFilesByTheirOwnCodes) {
    const std::int32_t document = SweepDocument();
    ASSERT_GT(engine.DPlot_Command(document, std::string("[SetMetafileDims(5,3)]") +
                                                 SaveAs(Path("a.svg"), 4098) +
                                                 SaveAs(Path("a.pdf"), 4099)),
              0)
        << engine.LastError();
    const QByteArray svg = ReadAll(Path("a.svg"));
    EXPECT_TRUE(svg.contains("width=\"127mm\" height=\"76.2mm\"")); // 5 x 3 inches
    EXPECT_TRUE(svg.contains("Частотные характеристики"));
    const QByteArray pdf = ReadAll(Path("a.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
}

TEST_F(PlotOutputTest, PrintingGoesThroughThePrinterOrFailsWithNothingWritten) {
    // The polar window's diagram or the sweep graph, the commands, whether the printer set-up goes
    // on rather than cancelling, whether it printed, the top margin set (0: the old one stays).
    const std::tuple<bool, const char*, bool, bool, double> cases[] = {
        {false, "[LineWidth(-2,10)][FilePageSetup(0.5,6,0.5,0.5)][FilePrint(1)]", true, true, 6},
        {true, "[LineWidth(-2,10)][FilePageSetup(0.5,5,0.2,0.2)][FilePrint(1)]", true, true, 5},
        {false, "[FilePrint(1)]", false, false, 0},
        // No room left on the page: refused whole.
        {false, "[FilePageSetup(0.5,19,0.5,0.5)][FilePrint(1)]", true, false, 0},
    };
    for (const auto& [onPolar, commands, accept, printed, top] : cases) {
        EngineWorld& world = onPolar ? polar : sweep;
        const std::int32_t document = onPolar ? PolarDocument() : SweepDocument();
        const QString path = Path("printed.pdf");
        const double before = world.api.FindDocument(document)->page.top;
        int asked = 0;
        world.api.SetPrinterSetup([&](QPrinter& printer) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return accept;
        });
        EXPECT_EQ(world.api.DPlot_Command(document, commands) > 0, printed) << commands;
        const QByteArray pdf = ReadAll(path);
        EXPECT_EQ(pdf.startsWith("%PDF-") && pdf.size() > 2000, printed) << commands;
        EXPECT_EQ(Files().size(), printed ? 1 : 0) << Files().join(' ').toStdString();
        EXPECT_EQ(world.api.FindDocument(document)->page.top, top > 0 ? top : before);
        if (printed) {
            EXPECT_EQ(asked, 1) << "the printer is set up once";
        }
        QFile::remove(path);
    }
}

TEST_F(PlotOutputTest, CopiesGoToTheClipboardAtTheirPictureSize) {
    ASSERT_GT(engine.DPlot_Command(SweepDocument(), "[SetMetafileDims(5,3)][CopyPicture()]"), 0);
    ASSERT_EQ(clipboard.calls, 1);
    EXPECT_EQ(clipboard.image.size(), QSize(480, 288));
    EXPECT_TRUE(clipboard.svg.contains("<svg")) << "the drawing goes beside the picture";

    // A polar graph is copied at the size it was shown at, the note in dark ink top left.
    ASSERT_GT(polar.api.DPlot_Command(PolarDocument(),
                                      "[NoteText(\"7.35dBi\")][NotePosition(0.0,1.0)]"
                                      "[FontPoints(7,7)][LineWidth(-2,10)][CopyPicture()]"),
              0);
    EXPECT_EQ(clipboard.image.size(),
              QSize(polar.Slot(kAzimuthSlot).Bitmap.Width, polar.Slot(kAzimuthSlot).Bitmap.Height));
    int dark = 0;
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 60; ++column) {
            dark += qGray(clipboard.image.pixel(column, row)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 20);
    clipboard.accept = false;
    EXPECT_EQ(engine.DPlot_Command(SweepDocument(), "[CopyPicture()]"), 0);
}

TEST(VectorPicture, ARasterPictureIsKeptInEachVectorFormat) {
    // Four pixels a row, two rows: the top row red, the bottom one blue but for a green end.
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int x = 0; x < 4; ++x) {
        picture.setPixel(x, 1, x == 0 ? qRgb(0, 255, 0) : qRgb(0, 0, 255));
    }
    const auto paint = [&](QPaintDevice&, QPainter& painter) {
        painter.drawImage(QRectF(96, 0, 192, 96), picture); // one inch in, two by one inch
    };
    const QSizeF inches(3, 1);
    EXPECT_TRUE(RenderVectorPicture("svg", inches, QStringLiteral("t"), paint).contains("<image"));
    EXPECT_TRUE(RenderVectorPicture("pdf", inches, QStringLiteral("t"), paint).startsWith("%PDF"));
    EXPECT_TRUE(RenderVectorPicture("bmp", inches, QStringLiteral("t"), paint).isEmpty());

    std::string error;
    const std::vector<EmfRecord> records =
        ReadEmf(RenderVectorPicture("emf", inches, QStringLiteral("t"), paint), error);
    ASSERT_FALSE(records.empty()) << error;
    const auto bitmap = std::ranges::find(records, emf::kStretchDiBits, &EmfRecord::type);
    ASSERT_NE(bitmap, records.end());
    EXPECT_EQ(bitmap->I(24), 1200); // destination x, y at 1200 per inch
    EXPECT_EQ(bitmap->I(28), 0);
    EXPECT_EQ(bitmap->I(40), 4); // source width and height in pixels
    EXPECT_EQ(bitmap->I(44), 2);
    EXPECT_EQ(bitmap->I(72), 2400); // destination width and height
    EXPECT_EQ(bitmap->I(76), 1200);
    ASSERT_EQ(bitmap->U(60), 4U * 2U * 4U);
    const qsizetype bits = bitmap->U(56);
    // Blue, green, red bytes: the bottom row comes first, green then blue; the top row red.
    EXPECT_EQ(bitmap->U(bits) & 0xFFFFFFU, 0x00FF00U);
    EXPECT_EQ(bitmap->U(bits + 4) & 0xFFFFFFU, 0x0000FFU);
    EXPECT_EQ(bitmap->U(bits + 16) & 0xFFFFFFU, 0xFF0000U);
}

} // namespace
} // namespace lobex::plotter
