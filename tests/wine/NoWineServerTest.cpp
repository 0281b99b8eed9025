#include "platform/MmanaWindowLink.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace lobex {
namespace {

// Where no Wine server runs for the user's prefix, MMANA cannot be running: the link says so
// without starting Wine, which would first create a prefix.
class NoWineServerTest : public ::testing::Test {
protected:
    NoWineServerTest() : home_(qgetenv("HOME")), prefix_(qgetenv("WINEPREFIX")) {
        qputenv("HOME", scratch.filePath(QStringLiteral("home")).toLocal8Bit());
        QDir(scratch.path()).mkdir(QStringLiteral("home"));
    }
    ~NoWineServerTest() override {
        qputenv("HOME", home_);
        qputenv("WINEPREFIX", prefix_);
    }

    QStringList HomeEntries() const {
        return QDir(scratch.filePath(QStringLiteral("home")))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir scratch;
    std::unique_ptr<MmanaWindowLink> link = CreateMmanaWindowLink(UTILS_FOLDER);

private:
    QByteArray home_;
    QByteArray prefix_;
};

// A prefix that is missing, one whose server is not running, and none set (the home's own).
TEST_F(NoWineServerTest, NoPrefixIsCreatedOrFilled) {
    const QString prefix = scratch.filePath(QStringLiteral("prefix"));
    for (const int kind : {0, 1, 2}) {
        if (kind == 2) {
            qunsetenv("WINEPREFIX");
        } else {
            qputenv("WINEPREFIX", prefix.toLocal8Bit());
        }
        if (kind == 1) {
            // Wine started on an empty prefix would fill it with its registry and drive_c.
            ASSERT_TRUE(QDir().mkpath(prefix));
        }
        EXPECT_EQ(link->FindMainWindow(), 0U) << kind;
        EXPECT_EQ(QFileInfo::exists(prefix), kind >= 1) << kind; // made by the test at 1
        EXPECT_TRUE(QDir(prefix).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        EXPECT_TRUE(HomeEntries().isEmpty()) << kind << HomeEntries().join(' ').toStdString();
    }
}

} // namespace
} // namespace lobex
