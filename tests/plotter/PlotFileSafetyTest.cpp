#include "FileSizeLimit.h"
#include "PlotFixtures.h"
#include "plotter/PlotEngine.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex::plotter {
namespace {

namespace fs = std::filesystem;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every way the engine writes a file: the three FileSaveAs codes and printing to a PDF file.
struct Writer {
    const char* name;
    const char* file;
    std::string commands; // "%s" stands for the path
};

class PlotFileSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(world.OpenTestData("sweep_50ohm.csv"));
        PlotXY(world.graph, 1, 2);
        world.engine.SetPrinterSetup([this](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            return true;
        });
    }
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QStringList Files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    // Runs the writer's commands on the sweep graph's document; true when the engine took them.
    bool Write(const Writer& writer) {
        const QString path = Path(writer.file);
        printed = path;
        std::string commands = writer.commands;
        const std::size_t at = commands.find("%s");
        if (at != std::string::npos) {
            commands.replace(at, 2, path.toStdString());
        }
        return world.engine.DPlot_Command(world.Slot(kMainSlot).DocNum, commands) > 0;
    }
    bool LastErrorEndsWith(std::string_view end) const {
        const std::string& error = world.engine.LastError();
        return error.size() >= end.size() &&
               error.compare(error.size() - end.size(), end.size(), end) == 0;
    }
    void PlantOldFile(const char* name) const {
        QFile old(Path(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }

    QTemporaryDir folder;
    test::GraphWorld world;
    QString printed;
    const std::vector<Writer> writers{
        {"EMF", "graph.emf", "[SetMetafileDims(5,3)][FileSaveAs(4097,\"%s\")]"},
        {"SVG", "graph.svg", "[SetMetafileDims(5,3)][FileSaveAs(4098,\"%s\")]"},
        {"PDF", "graph.pdf", "[SetMetafileDims(5,3)][FileSaveAs(4099,\"%s\")]"},
        {"printed PDF", "printed.pdf", "[FilePageSetup(0.5,6,0.5,0.5)][FilePrint(1)]"},
    };
};

// A full disk (the size of files the process may write capped below the file's size) and a
// read-only file fail with the reason and keep the old file whole; a link planted where the
// file goes is replaced by the file, and what it pointed at is untouched.
TEST_F(PlotFileSafetyTest, FullDiskReadOnlyAndLinkedTargetsLeaveOtherFilesAlone) {
    const fs::path victim = fs::path(Path("victim.txt").toStdString());
    PlantOldFile("victim.txt");
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        const QString path = Path(writer.file);
        ASSERT_TRUE(Write(writer)) << world.engine.LastError();
        const qint64 size = QFile(path).size();
        ASSERT_GT(size, 1000);
        PlantOldFile(writer.file);
        bool written = true;
        {
            lobex::test::FileSizeLimit limit(static_cast<rlim_t>(size / 2));
            ASSERT_TRUE(limit.Active());
            written = Write(writer);
        }
        EXPECT_FALSE(written);
        EXPECT_TRUE(LastErrorEndsWith(": File too large")) << world.engine.LastError();
        EXPECT_EQ(ReadAll(path), "old contents");
        EXPECT_EQ(Files().size(), 2);

        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
        EXPECT_FALSE(Write(writer));
        EXPECT_TRUE(LastErrorEndsWith(": Permission denied")) << world.engine.LastError();
        EXPECT_EQ(ReadAll(path), "old contents");
        EXPECT_EQ(fs::status(path.toStdString()).permissions() & fs::perms::all,
                  fs::perms::owner_read);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);

        const fs::path target = fs::path(path.toStdString());
        fs::create_symlink(victim, target);
        EXPECT_TRUE(Write(writer)) << world.engine.LastError();
        EXPECT_FALSE(fs::is_symlink(target));
        EXPECT_GT(fs::file_size(target), 1000U);
        EXPECT_EQ(ReadAll(Path("victim.txt")), "old contents");
        fs::remove(target);
    }
}

} // namespace
} // namespace lobex::plotter
