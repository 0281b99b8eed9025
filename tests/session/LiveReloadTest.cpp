#include "session/LiveReload.h"

#include <gtest/gtest.h>

#include <string>

namespace lobex {
namespace {

TEST(LiveReload, ANewVersionIsReportedOnlyOnceItHeldStillThroughAPause) {
    const FileStamp gone{};
    const FileStamp v1{true, 100, 1000};
    const FileStamp v1Longer{true, 180, 1000};
    const FileStamp v2{true, 180, 2000};
    struct Case {
        const char* what;
        FileStamp reported;
        FileStamp seen;
        FileStamp now;
        SettleStep step;
    };
    const Case cases[] = {
        {"settled new version", v1, v2, v2, SettleStep::Report},
        {"grew during the pause", v1, v2, FileStamp{true, 260, 2000}, SettleStep::Wait},
        {"touched during the pause", v1, v2, FileStamp{true, 180, 3000}, SettleStep::Wait},
        {"same size, later write", v1, v1Longer, v2, SettleStep::Wait},
        {"back to what was read", v1, v1, v1, SettleStep::Ignore},
        {"removed for the moment", v1, v2, gone, SettleStep::Ignore},
        {"reappears after a removal", gone, v2, v2, SettleStep::Report},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextSettleStep(c.reported, c.seen, c.now), c.step) << c.what;
    }
}

TEST(LiveReload, ThePickedEntryIsFoundAgainByItsText) {
    const SetList before{{{"0", 18}, {"15", 15}, {"30", 12}}, 1};
    struct Case {
        const char* what;
        SetList before;
        SetList after;
        int entry;
    };
    const Case cases[] = {
        {"same list", before, before, 1},
        {"a finer grid moves it", before, SetList{{{"0", 36}, {"5", 35}, {"15", 33}}, 0}, 2},
        {"gone from the new list", before, SetList{{{"0", 9}, {"10", 8}}, 0}, -1},
        {"nothing was selected", SetList{before.entries, -1}, before, -1},
        {"no list before", SetList{}, before, -1},
        {"empty list after", before, SetList{}, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RepickedEntry(c.before, c.after), c.entry) << c.what;
    }
}

TEST(LiveReload, HeldMessagesBecomeOneStatusLine) {
    HeldMessages held;
    held.Show("Неправильный формат данных", MessageIcon::Information, "Lobex");
    held.Show("Ошибка чтения данных", MessageIcon::Critical, "Lobex");
    EXPECT_EQ(held.Texts().size(), 2u);
    EXPECT_EQ(ReloadFailedStatus(held.Texts()), "Файл не перечитан: Неправильный формат данных");
    EXPECT_EQ(ReloadFailedStatus({"Файл содержит слишком много узлов.\r\nУменьшите шаг."}),
              "Файл не перечитан: Файл содержит слишком много узлов. Уменьшите шаг.");
    EXPECT_EQ(ReloadFailedStatus({}), "Файл не перечитан");
}

} // namespace
} // namespace lobex
