#include "app/clock_pane.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

const QDate kDay(2026, 12, 8);

TEST(ClockText, isTheShortDateThenTheLongTimeWithSeconds) {
    struct Case {
        const char* locale;
        QTime time;
        const char* shown;
    };
    // clang-format off
    const Case cases[] = {
        {"zh_CN", QTime(14, 5, 9),  "2026/12/8 14:05:09"},
        {"de_DE", QTime(14, 5, 9),  "08.12.26 14:05:09"},
        {"en_US", QTime(14, 5, 9),  "12/8/26 2:05:09 PM"},
        {"en_US", QTime(0, 0, 1),   "12/8/26 12:00:01 AM"},
        {"zh_CN", QTime(0, 0, 0),   "2026/12/8"},   // exactly midnight: the date alone
        {"de_DE", QTime(0, 0, 0),   "08.12.26"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const QLocale locale(QString::fromUtf8(c.locale));
        EXPECT_EQ(ClockText(QDateTime(kDay, c.time), locale), QString::fromUtf8(c.shown)) << c.locale;
    }
}

TEST(ClockText, carriesNoTimeZone) {
    for (const char* name : {"C", "zh_CN", "en_US", "de_DE", "ja_JP", "fr_FR"}) {
        const QLocale locale(QString::fromUtf8(name));
        const QString format = LongTimeFormatWithoutZone(locale);
        EXPECT_FALSE(format.contains(u't')) << name << ": " << format.toStdString();
        EXPECT_TRUE(format.contains(u's')) << name << ": the long time shows seconds";
        EXPECT_EQ(format, format.trimmed());
    }
}

TEST(ClockPane, repaintsOnlyWhenItsTextChanges) {
    QDateTime now(kDay, QTime(9, 30, 0, 100));
    ClockPane pane([&] { return now; });
    const QString first = pane.text();
    EXPECT_EQ(first, ClockText(now, QLocale::system()));

    now = now.addMSecs(ClockPane::kTickMilliseconds);  // 09:30:00.600, the same second
    EXPECT_FALSE(pane.tick());
    EXPECT_EQ(pane.text(), first);

    now = now.addMSecs(ClockPane::kTickMilliseconds);  // 09:30:01.100
    EXPECT_TRUE(pane.tick());
    EXPECT_EQ(pane.text(), ClockText(now, QLocale::system()));
    EXPECT_FALSE(pane.tick());
}

}  // namespace
}  // namespace hcalc
