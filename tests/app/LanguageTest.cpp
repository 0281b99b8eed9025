#include "MainWindowHarness.h"
#include "WidgetLookup.h"
#include "app/frmD3D.h"
#include "core/Remembered.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmChoice.h"
#include "dialogs/frmJPEG.h"
#include "platform/QtTranslations.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QRegularExpression>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::Find;

bool HasCyrillic(const QString& text) {
    return text.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]")));
}

// Every text a window shows or hints with: captions, titles, menus, tooltips, list entries and
// column captions; the ones in Cyrillic come back, each with where it was found.
QStringList CyrillicTexts(const QWidget& window) {
    QStringList found;
    const auto check = [&found](const QObject& owner, const QString& what, const QString& text) {
        if (HasCyrillic(text)) {
            found << owner.objectName() + QLatin1Char('.') + what + QStringLiteral(": ") + text;
        }
    };
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(const_cast<QWidget*>(&window));
    for (QWidget* widget : widgets) {
        // Buttons' and labels' text, boxes' and menus' titles, spin boxes' suffixes.
        for (const char* property : {"windowTitle", "toolTip", "text", "title", "suffix"}) {
            check(*widget, QLatin1String(property), widget->property(property).toString());
        }
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < list->count(); ++i) {
                check(*widget, QStringLiteral("item"), list->itemText(i));
            }
        } else if (auto* table = qobject_cast<QTableView*>(widget)) {
            for (int i = 0; i < table->model()->columnCount(); ++i) {
                check(*widget, QStringLiteral("header"),
                      table->model()->headerData(i, Qt::Horizontal).toString());
            }
        }
        for (QAction* action : widget->actions()) {
            // Russian keeps its own name among the languages.
            if (action->objectName() == QLatin1String("mnuHelpLanguageRussian")) {
                continue;
            }
            check(*action, QStringLiteral("text"), action->text());
            check(*action, QStringLiteral("toolTip"), action->toolTip());
        }
    }
    return found;
}

class EnglishTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InstallEnglish()); }
    void TearDown() override { RemoveEnglish(); }
};

TEST_F(EnglishTest, NoWindowOrDialogShowsRussianForAnyKindOfFile) {
    test::MainWindowHarness harness;
    harness.link.Translate = [](std::string_view text) {
        return ShownText(text).toStdString();
    };
    frmData& window = *harness.window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lobex - MMANA results viewer"));
    EXPECT_EQ(Find<QMenu>(window, "mnuHelpLanguage")->title(), QStringLiteral("Language"));
    EXPECT_TRUE(CyrillicTexts(window).isEmpty()) << CyrillicTexts(window).join('\n').toStdString();

    for (const std::string& file :
         {test::Sample("yagi3_20m_sweep.csv"), test::Fixture("nearfield_electric.csv"),
          test::Fixture("currents_3wires.csv"), test::Fixture("table_optimisation_3sets.csv"),
          test::Sample("yagi3_20m_farfield.csv")}) {
        window.OpenFileFromOutside(file);
        ASSERT_GT(harness.state.Loaded.Data.GridRowCount, 0) << file;
        // The graph's titles and axis captions too.
        const std::string& commands = harness.link.PlotCommands;
        EXPECT_EQ(commands.find("Частот"), std::string::npos) << commands;
        EXPECT_EQ(
            commands.find("[XAxisLabel(\"Frequency, MHz\")][Title1(\"Frequency response\")]") !=
                std::string::npos,
            file == test::Sample("yagi3_20m_sweep.csv"))
            << commands;
        EXPECT_TRUE(CyrillicTexts(window).isEmpty())
            << file << '\n'
            << CyrillicTexts(window).join('\n').toStdString();
        // The shorter English captions leave the columns wide enough for their values, in a
        // large face too.
        auto* grid = Find<QTableView>(window, "ctlGrid");
        if (grid->font().pointSize() != 14) {
            QFont large = grid->font();
            large.setPointSize(14);
            grid->setFont(large);
            window.OpenFileFromOutside(file);
        }
        QStyleOptionViewItem option;
        option.initFrom(grid);
        option.font = grid->font();
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            // The width the first cell asks of its delegate, its margins included.
            const QModelIndex cell = grid->model()->index(0, c);
            EXPECT_GE(grid->columnWidth(c), grid->itemDelegate()->sizeHint(option, cell).width())
                << file << " column " << c << ": "
                << grid->model()->index(0, c).data().toString().toStdString();
        }
    }
    // The far field last: its diagrams move into the polar window.
    window.OpenPolarWindow();
    QWidget* polar = test::PolarWindow();
    ASSERT_NE(polar, nullptr);
    EXPECT_TRUE(CyrillicTexts(*polar).isEmpty()) << CyrillicTexts(*polar).join('\n').toStdString();
    // Nothing the loads said was left in Russian either.
    for (const test::RecordedMessage& message : harness.recorders.messages.shown) {
        EXPECT_FALSE(HasCyrillic(ShownText(message.text))) << message.text;
    }

    // Nor the other windows and dialogs.
    JpegOptions options;
    frmD3D d3d(harness.state, harness.recorders.messages);
    frmJPEG jpeg(harness.recorders.settings, options, nullptr);
    frmAbout about(nullptr);
    frmChoice choice(nullptr);
    for (const QWidget* other :
         std::initializer_list<const QWidget*>{&d3d, &jpeg, &about, &choice}) {
        EXPECT_FALSE(other->windowTitle().isEmpty()) << other->objectName().toStdString();
        EXPECT_TRUE(CyrillicTexts(*other).isEmpty())
            << CyrillicTexts(*other).join('\n').toStdString();
    }
}

TEST_F(EnglishTest, MessagesFromBelowTheWindowsAreTranslatedWholeOrByTheirKnownParts) {
    // Whole, and with line ends kept.
    EXPECT_EQ(ShownText("Неправильный формат данных"), QStringLiteral("Wrong data format"));
    EXPECT_EQ(ShownText("Файл содержит слишком много узлов.\r\nУменьшите шаг Азимута и/или "
                        "Зенита.\r\nТрехмерная модель не построена."),
              QStringLiteral("The file holds too many points.\r\nUse a larger Azimuth and/or "
                             "Zenith step.\r\nThe 3D model was not built."));
    // Composed with a file name or a number: the known parts translated, the rest kept.
    EXPECT_EQ(ShownText("Файл не найден:\r\n/tmp/а б.csv\r\nОн убран из списка последних файлов."),
              QStringLiteral("File not found:\r\n/tmp/а б.csv\r\nIt has been removed from the "
                             "recent files."));
    EXPECT_EQ(ShownText("Данные сохранены в файл: /tmp/out.csv"),
              QStringLiteral("Data saved to file: /tmp/out.csv"));
    EXPECT_EQ(ShownText("Файл не перечитан: Неправильный формат данных"),
              QStringLiteral("File not reloaded: Wrong data format"));
    EXPECT_EQ(ShownText("КСВ мин. 1,05"), QStringLiteral("SWR min. 1,05"));
    EXPECT_EQ(ShownText("Строка 12 файла Touchstone не читается"),
              QStringLiteral("Line 12 of the Touchstone file cannot be read"));
    // A load's cause: its marked text translated, its line and field put in.
    EXPECT_EQ(ShownCause({"строка %1, поле %2: нет числа", 5, 2}),
              QStringLiteral("line 5, field 2: no number"));
    // What is not known stays as it is.
    EXPECT_EQ(ShownText("/home/Данные/x.csv"), QStringLiteral("/home/Данные/x.csv"));
    EXPECT_EQ(ShownText(""), QString());

    RemoveEnglish();
    EXPECT_EQ(ShownText("Неправильный формат данных"),
              QStringLiteral("Неправильный формат данных"));
}

// The program's own texts stay exactly as they were until another language is chosen.
using LanguageChoiceTest = test::MainWindowTestBase;

TEST_F(LanguageChoiceTest, TheChoiceIsRememberedAndAnnouncedInTheLanguageChosen) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lobex - просмотр результатов MMANA"));
    EXPECT_EQ(Find<QMenu>(window, "mnuHelpLanguage")->title(), QStringLiteral("Язык"));
    window.OpenFileFromOutside(test::Sample("yagi3_20m_sweep.csv"));
    EXPECT_EQ(
        Find<QTableView>(window, "ctlGrid")->model()->headerData(3, Qt::Horizontal).toString(),
        QStringLiteral("КСВ"));
    QAction* english = Find<QAction>(window, "mnuHelpLanguageEnglish");
    QAction* russian = Find<QAction>(window, "mnuHelpLanguageRussian");
    EXPECT_TRUE(russian->isChecked());

    english->trigger();
    EXPECT_TRUE(english->isChecked());
    EXPECT_FALSE(russian->isChecked());
    EXPECT_EQ(recorders.settings.GetSetting("Options", "Language", ""), "en");
    russian->trigger();
    EXPECT_EQ(recorders.settings.GetSetting("Options", "Language", ""), "ru");
    // Each choice is announced in the language chosen.
    EXPECT_EQ(recorders.messages.Texts(),
              (std::vector<std::string>{
                  "The interface will be in English the next time the program starts.",
                  "Интерфейс будет на русском языке при следующем запуске программы."}));

    // A stored choice is shown ticked at the next start; anything unknown reads as Russian.
    test::MainWindowHarness next;
    WriteSetting(next.recorders.settings, kLanguageSetting, "en");
    next.window->Form_Load();
    EXPECT_TRUE(Find<QAction>(*next.window, "mnuHelpLanguageEnglish")->isChecked());
    WriteSetting(next.recorders.settings, kLanguageSetting, "de");
    EXPECT_EQ(ReadLanguage(next.recorders.settings), Language::Russian);
}

} // namespace
} // namespace lobex
