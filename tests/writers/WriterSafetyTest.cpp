#include "FileSizeLimit.h"
#include "FolderEntries.h"
#include "GraphWorld.h"
#include "PatternGrids.h"
#include "core/TextFile.h"
#include "graphs/RectangularGraph.h"
#include "images/ImageWriter.h"
#include "images/clsGIF.h"
#include "plotter/PlotEngine.h"
#include "view3d/PatternModel.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Every writer of the program goes through the atomic writer, whose own tests cover temporary
// names, leftovers and concurrent writes. Here one table over all writers: a full disk and a
// read-only file fail with the writer's report and keep the user's old file whole, and a link
// planted where the file goes is replaced, not written through.
namespace lobex {
namespace {

namespace fs = std::filesystem;
using test::FolderEntries;

// What a writer made of one write: whether the file was written, and what it said otherwise
// (the reason, or the message the user is shown).
struct Outcome {
    bool written = false;
    std::string said;
};
using Write = std::function<Outcome(const std::string& path)>;

struct Writer {
    const char* name;
    const char* file;
    Write write;
    // The message a failure shows; null where the writer reports the system's reason.
    const char* message = nullptr;
};

// A picture of noise, which no format compresses much.
QImage NoisePicture() {
    QImage picture(48, 40, QImage::Format_RGB32);
    std::uint32_t noise = 12345;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            noise = noise * 1103515245U + 12345U;
            picture.setPixel(x, y, 0xFF000000U | (noise >> 8));
        }
    }
    return picture;
}

class WriterSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(plots.Start());
        ASSERT_TRUE(plots.OpenTestData("sweep_50ohm.csv"));
        PlotXY(plots.graph, 1, 2);
        plots.api.SetPrinterSetup([this](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(printed));
            return true;
        });
        model.Loaded.FarField = test::LobedGrid(5.0f);
        ASSERT_TRUE(BuildPatternVertices(modelContext));
    }

    Outcome Image(const char* format, const std::string& path) {
        const ImageResult result = WriteImageFile(NoisePicture(), format, path, state, jpeg, gif);
        return {result.ok && result.written, result.error};
    }
    Outcome Plot(std::string commands, const std::string& path) {
        printed = path;
        const std::size_t at = commands.find("%s");
        if (at != std::string::npos) {
            commands.replace(at, 2, path);
        }
        const bool written = plots.api.DPlot_Command(plots.Slot(kMainSlot).DocNum, commands) > 0;
        return {written, plots.api.LastError()};
    }
    Outcome Model(bool (*write)(View3DContext&), const std::string& path) {
        model.Paths.TempModelFile = path;
        modelMessages.shown.clear();
        const bool written = write(modelContext);
        return {written, modelMessages.shown.empty() ? "" : modelMessages.shown.back().text};
    }
    Outcome Text(const std::string& path) {
        textMessages.shown.clear();
        const bool written = WriteTextFile(textLoad, path, std::string(20000, '7'), "a,b");
        return {written, textMessages.shown.empty() ? "" : textMessages.shown.back().text};
    }

    // lobex-cli, whose limits and rights are those of this process.
    static Outcome Cli(const std::string& path) {
        QProcess cli;
        cli.start(QStringLiteral(LOBEX_CLI),
                  {QStringLiteral("plot"), QStringLiteral(LOBEX_TEST_DATA_DIR "/sweep_50ohm.csv"),
                   QStringLiteral("--out"), QString::fromStdString(path)});
        cli.waitForFinished(60000);
        std::string err = cli.readAllStandardError().toStdString();
        if (err.ends_with('\n')) {
            err.pop_back();
        }
        const bool written = cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0;
        // A failure names the program and the file before the reason.
        EXPECT_TRUE(written || err.find("lobex-cli plot: " + path + ": ") != std::string::npos)
            << err;
        return {written, err};
    }

    std::vector<Writer> Writers() {
        const char* writeError = "Ошибка записи в файл. Данные не сохранены.";
        const auto image = [this](const char* format) {
            return std::bind_front(&WriterSafetyTest::Image, this, format);
        };
        const auto plot = [this](const char* commands) {
            return std::bind_front(&WriterSafetyTest::Plot, this, commands);
        };
        return {
            {"BMP", "p.bmp", image("bmp")},
            {"PNG", "p.png", image("png")},
            {"JPEG", "p.jpg", image("jpg")},
            {"GIF", "p.gif", image("gif")},
            {"EMF", "g.emf", plot("[SetMetafileDims(5,3)][FileSaveAs(4097,\"%s\")]")},
            {"SVG", "g.svg", plot("[SetMetafileDims(5,3)][FileSaveAs(4098,\"%s\")]")},
            {"PDF", "g.pdf", plot("[SetMetafileDims(5,3)][FileSaveAs(4099,\"%s\")]")},
            {"printed PDF", "printed.pdf", plot("[FilePageSetup(0.5,6,0.5,0.5)][FilePrint(1)]")},
            {"binary model", "temp.x",
             [this](const std::string& path) { return Model(WriteBinaryModel, path); }, writeError},
            {"text model", "text.x",
             [this](const std::string& path) { return Model(WriteTextModel, path); }, writeError},
            {"text export", "d.csv", [this](const std::string& path) { return Text(path); },
             writeError},
            {"lobex-cli plot", "cli.png", Cli},
        };
    }

    test::TempFolder folder;
    test::GraphWorld<plotter::PlotEngine> plots;
    std::string printed;
    AppState state;
    JpegOptions jpeg;
    clsGIF gif;
    AppState model;
    View3DState view;
    test::RecordingMessages modelMessages;
    View3DContext modelContext{model, view, modelMessages};
    AppState text;
    test::RecordingMessages textMessages;
    LoadContext textLoad{text, textMessages};
};

TEST_F(WriterSafetyTest, AFullDiskOrAReadOnlyFileKeepsTheOldFileAndALinkIsReplaced) {
    const fs::path victim = folder.Write("victim.txt", "someone else's");
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.name);
        const fs::path path = folder.Path() / writer.file;
        const auto expectSaid = [&](const Outcome& outcome, const std::string& reason) {
            EXPECT_FALSE(outcome.written);
            // A writer's own message comes first, the file and the system's reason under it.
            if (writer.message != nullptr) {
                EXPECT_TRUE(outcome.said.starts_with(std::string(writer.message) + "\r\n" +
                                                     path.string() + ": "))
                    << outcome.said;
            }
            EXPECT_TRUE(outcome.said.ends_with(reason)) << outcome.said;
            EXPECT_EQ(test::ReadBytes(path), "old contents");
            EXPECT_EQ(FolderEntries(folder.Path()),
                      (std::vector<std::string>{writer.file, "victim.txt"}));
        };
        ASSERT_TRUE(writer.write(path.string()).written);
        const std::uintmax_t size = fs::file_size(path);
        ASSERT_GT(size, 1000U);
        folder.Write(writer.file, "old contents");
        Outcome full;
        {
            test::FileSizeLimit limit(static_cast<rlim_t>(size / 2));
            ASSERT_TRUE(limit.Active());
            full = writer.write(path.string());
        }
        expectSaid(full, "File too large");

        const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
        fs::permissions(path, readOnly);
        expectSaid(writer.write(path.string()), "Permission denied");
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, readOnly);
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        fs::remove(path);

        fs::create_symlink(victim, path);
        EXPECT_TRUE(writer.write(path.string()).written);
        EXPECT_FALSE(fs::is_symlink(path));
        EXPECT_EQ(test::ReadBytes(victim), "someone else's");
        fs::remove(path);
    }
}

} // namespace
} // namespace lobex
