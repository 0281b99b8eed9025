#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "core/Lifecycle.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::Find;

class LoadFlowWindowTest : public ::testing::Test {
protected:
    LoadFlowWindowTest() {
        PrepareStartupState(state, {"/opt/lobex", folder.path().toStdString(), ".", '/'});
        window = std::make_unique<frmData>(state, recorders.services);
        window->Form_Load();
    }

    static std::string Sample(const char* name) {
        return std::string(LOBEX_SAMPLES_DIR) + "/" + name;
    }

    QStringList GridRow(int row) {
        const QAbstractItemModel* model = Find<QTableView>(*window, "ctlGrid")->model();
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            cells << model->index(row, c).data().toString();
        }
        return cells;
    }

    QTemporaryDir folder;
    AppState state;
    test::RecordingServices recorders;
    std::unique_ptr<frmData> window;
};

TEST_F(LoadFlowWindowTest, ASweepChosenInTheDialogFillsTheGridAndTheCurveLists) {
    recorders.dialogs.dataFile = Sample("yagi3_20m_sweep.csv");
    Find<QRadioButton>(*window, "optSrc(1)")->click();
    Find<QPushButton>(*window, "cmdRun")->click();

    for (const auto& message : recorders.messages.shown) {
        ADD_FAILURE() << message.text;
    }
    ASSERT_EQ(recorders.dialogs.captions, std::vector<std::string>{"Open File"});
    EXPECT_EQ(state.Data.DataKind, KindSweep);
    EXPECT_EQ(GridRow(0), (QStringList{"13.90", "25.53", "-14.40", "2.17", "7.27", "14.33"}));
    EXPECT_EQ(GridRow(25).front(), QStringLiteral("14.40"));
    EXPECT_TRUE(GridRow(26).front().isEmpty());
    auto* left = Find<QComboBox>(*window, "cmbLeft");
    auto* right = Find<QComboBox>(*window, "cmbRight");
    EXPECT_TRUE(left->isEnabled());
    EXPECT_EQ(left->currentText(), QStringLiteral("R"));
    EXPECT_EQ(right->currentText(), QStringLiteral("j X"));
    EXPECT_EQ(Find<QLabel>(*window, "lblSource")->text(),
              QString::fromStdString(Sample("yagi3_20m_sweep.csv")));
}

TEST_F(LoadFlowWindowTest, AFileFromOutsideOpensWithoutTheDialog) {
    window->OpenFileFromOutside(Sample("yagi3_20m_sweep.csv"));
    for (const auto& message : recorders.messages.shown) {
        ADD_FAILURE() << message.text;
    }
    EXPECT_TRUE(recorders.dialogs.captions.empty());
    EXPECT_TRUE(Find<QRadioButton>(*window, "optSrc(1)")->isChecked());
    EXPECT_EQ(state.Data.DataKind, KindSweep);
    EXPECT_TRUE(Find<QComboBox>(*window, "cmbLeft")->isEnabled());
}

} // namespace
} // namespace lobex
