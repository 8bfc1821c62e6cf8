#include "app/main_window.h"
#include "app/application.h"
#include "core/numbers.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::Find;

class MainWindow : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(MainWindow, hasItsTitleAndNormalBounds) {
    EXPECT_EQ(window.objectName(), u"Form1"_s);
    EXPECT_EQ(window.windowTitle(), u"谐波计算软件----Quelvaro"_s);
    EXPECT_EQ(ApplicationTitle(), u"谐波计算软件"_s);
    EXPECT_EQ(window.geometry(), QRect(150, 101, 604, 400));
}

TEST_F(MainWindow, showsNinePagesInOrderStartingOnTheFirst) {
    auto* pages = Find<QTabWidget>(&window, u"RPage"_s);
    ASSERT_NE(pages, nullptr);
    const QStringList captions{u"电容器/电抗器计算"_s, u"电容器组计算"_s,   u"简单计算"_s,
                               u"补偿容量计算"_s,      u"安装容量计算"_s,   u"电容器选型"_s,
                               u"方案输出"_s,          u"谐振与耐受校验"_s, u"谐波限值校验"_s};
    ASSERT_EQ(pages->count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(pages->tabText(i), captions[i]);
        EXPECT_EQ(pages->widget(i)->objectName(), u"TabSheet%1"_s.arg(i + 1));
    }
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(MainWindow, everyGroupBoxHasItsCaptionAndFont) {
    struct Group {
        const char* name;
        const char* page;
        const char* caption;
        int pixels;
        bool bold;
    };
    // clang-format off
    const Group groups[] = {
        {"RzGroupBox1",  "TabSheet1", "电容器计算",                      16, true},
        {"RzGroupBox2",  "TabSheet1", "输入数据",                        13, true},
        {"RzGroupBox3",  "TabSheet1", "输出数据",                        13, true},
        {"RzGroupBox4",  "TabSheet1", "电抗器计算",                      16, true},
        {"RzGroupBox5",  "TabSheet1", "输入数据",                        13, true},
        {"RzGroupBox6",  "TabSheet1", "输出数据(电感偏谐振率为0)",        13, true},
        {"RzGroupBox7",  "TabSheet1", "电感偏谐振",                      13, true},
        {"RzGroupBox8",  "TabSheet2", "输入数据",                        13, true},
        {"RzGroupBox9",  "TabSheet2", "输出数据(普通)",                  13, true},
        {"RzGroupBox10", "TabSheet2", "输出数据(偏谐振时)",              13, true},
        {"RzGroupBox11", "TabSheet3", "单项电容容量计算",                13, true},
        {"RzGroupBox12", "TabSheet3", "三角连接三相电容容量计算",        13, true},
        {"RzGroupBox13", "TabSheet3", "Y连接三相电容容量计算",           13, true},
        {"RzGroupBox23", "TabSheet3", "电抗率计算",                      13, false},
        {"RzGroupBox14", "TabSheet4", "补偿容量",                        13, true},
        {"RzGroupBox15", "TabSheet5", "输入数据",                        13, true},
        {"RzGroupBox17", "TabSheet5", "所有计算得到的（Q总/S总）值对比", 13, true},
        {"RzGroupBox18", "TabSheet5", "最佳方案",                        13, false},
        {"RzGroupBox16", "TabSheet5", "输出数据",                        13, false},
        {"RzGroupBox19", "TabSheet6", "3次滤波器组",                     13, true},
        {"RzGroupBox20", "TabSheet6", "5次滤波器组",                     13, true},
        {"RzGroupBox21", "TabSheet6", "7次滤波器组",                     13, true},
        {"RzGroupBox22", "TabSheet6", "11次滤波器组",                    13, true},
    };
    // clang-format on
    window.show();  // fonts and palettes as the shown window has them, after polishing
    QApplication::processEvents();
    for (const Group& g : groups) {
        SCOPED_TRACE(g.name);
        auto* page = Find<QWidget>(&window, QString::fromUtf8(g.page));
        ASSERT_NE(page, nullptr);
        auto* group = Find<QGroupBox>(page, QString::fromUtf8(g.name));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QString::fromUtf8(g.caption));
        EXPECT_EQ(group->font().family(), u"宋体"_s);
        EXPECT_EQ(group->font().pixelSize(), g.pixels);
        EXPECT_EQ(group->font().bold(), g.bold);
        EXPECT_EQ(group->palette().color(QPalette::Window), QColor(192, 220, 192));
    }
    EXPECT_EQ(Find<FramedGroupBox>(&window, u"RzGroupBox1"_s)->captionColor(), QColor(0, 0, 128));
}

TEST_F(MainWindow, fieldsTakeTheFontOfTheirGroup) {
    window.show();
    QApplication::processEvents();
    for (const QLineEdit* field : window.findChildren<QLineEdit*>()) {
        const auto* group = qobject_cast<const QGroupBox*>(field->parentWidget());
        if (field->objectName().isEmpty() || group == nullptr) {
            continue;
        }
        EXPECT_EQ(field->font(), group->font()) << field->objectName().toStdString();
        EXPECT_EQ(QFontInfo(field->font()).bold(), group->font().bold()) << field->objectName().toStdString();
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (qobject_cast<const QGroupBox*>(label->parentWidget())) {
            EXPECT_EQ(label->font(), look::songTi()) << label->text().toStdString();
        }
    }
}

TEST_F(MainWindow, pagesAreMoneyGreen) {
    auto* pages = Find<QTabWidget>(&window, u"RPage"_s);
    for (int i = 0; i < pages->count(); ++i) {
        auto* page = qobject_cast<QScrollArea*>(pages->widget(i));
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->widget()->palette().color(QPalette::Window), QColor(192, 220, 192));
        EXPECT_TRUE(page->widget()->autoFillBackground());
    }
}

TEST_F(MainWindow, menuQuitsAndTellsWhatTheProgramIs) {
    auto* quit = Find<QAction>(&window, u"N2"_s);
    auto* about = Find<QAction>(&window, u"N4"_s);
    ASSERT_NE(quit, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(quit->text(), u"退出"_s);
    EXPECT_EQ(about->text(), u"关于"_s);
    EXPECT_EQ(Find<QMenu>(&window, u"N1"_s)->title(), u"系统"_s);
    EXPECT_EQ(Find<QMenu>(&window, u"N3"_s)->title(), u"帮助"_s);

    about->trigger();
    EXPECT_EQ(dialogs.events, QStringList{u"notice:谐波滤除计算程序"_s});

    window.show();
    // Unsaved results on a page are asked about; a box that gives no answer (not saved) does not hold it back.
    Find<QLineEdit>(&window, u"Text1a"_s)->setText(u"100"_s);
    quit->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(dialogs.events, (QStringList{u"notice:谐波滤除计算程序"_s, u"unsaved:当前方案尚未保存，是否保存？"_s}));
}

TEST_F(MainWindow, statusBarHasTitleAuthorAndClock) {
    auto* title = Find<QLabel>(&window, u"RzStatusPane2"_s);
    auto* author = Find<QLabel>(&window, u"RzStatusPane1"_s);
    auto* clock = Find<QLabel>(&window, u"RzClockStatus1"_s);
    ASSERT_TRUE(title && author && clock);
    EXPECT_EQ(title->text(), u"谐波计算软件"_s);
    EXPECT_EQ(title->width(), 426);
    EXPECT_EQ(author->text(), u"Quelvaro"_s);
    EXPECT_EQ(author->width(), 212);
    EXPECT_EQ(clock->width(), 150);
    EXPECT_TRUE(author->alignment() & Qt::AlignHCenter);
    // The clock shows today's date in the regional short format.
    EXPECT_TRUE(clock->text().startsWith(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)))
        << clock->text().toStdString();
}

TEST_F(MainWindow, reportAreaStartsEmpty) {
    auto* report = Find<QTextEdit>(&window, u"R"_s);
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->toPlainText().isEmpty());
}

TEST_F(MainWindow, pageControlFillsTheWindowAndFollowsResizes) {
    window.show();
    auto* pages = Find<QTabWidget>(&window, u"RPage"_s);
    for (const QSize size : {QSize(1024, 740), QSize(1400, 900)}) {
        window.resize(size);
        QApplication::processEvents();
        const QRect client = window.centralWidget()->geometry();
        EXPECT_EQ(pages->width(), client.width() - 20);
        EXPECT_EQ(pages->height(), client.height() - 10);
    }
    // Maximised on a common screen, no page needs to scroll.
    window.resize(1024, 740);
    QApplication::processEvents();
    for (int i = 0; i < pages->count(); ++i) {
        auto* page = qobject_cast<QScrollArea*>(pages->widget(i));
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        EXPECT_GE(page->viewport()->width(), page->widget()->minimumWidth()) << i;
        EXPECT_GE(page->viewport()->height(), page->widget()->minimumHeight()) << i;
    }
}

// Every text of the window renders with a real glyph: no box for a missing
// CJK character.
TEST_F(MainWindow, everyTextHasItsGlyphs) {
    QStringList missing;
    auto check = [&](const QString& text, const QFont& font) {
        const QFontMetrics metrics(font);
        for (QChar c : text) {
            if (!c.isSpace() && !metrics.inFont(c)) {
                missing << QString(c) + u" in "_s + text + u" ("_s + QFontInfo(font).family() + u")"_s;
            }
        }
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        check(label->text(), label->font());
    }
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        check(group->title(), group->font());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        check(button->text(), button->font());
    }
    auto* pages = Find<QTabWidget>(&window, u"RPage"_s);
    for (int i = 0; i < pages->count(); ++i) {
        check(pages->tabText(i), pages->font());
    }
    for (const QMenu* menu : window.findChildren<QMenu*>()) {
        check(menu->title(), window.menuBar()->font());
        for (const QAction* action : menu->actions()) {
            check(action->text(), menu->font());
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u"; "_s).toStdString();
    EXPECT_TRUE(QFontInfo(look::songTi()).family().contains(u"Noto Serif CJK"_s))
        << QFontInfo(look::songTi()).family().toStdString();
}

TEST_F(MainWindow, readsTheRegionalSeparatorAgainWhenTheLocaleChanges) {
    const QString point = QLocale::system().decimalPoint();
    EXPECT_EQ(window.decimalSeparator(), point.size() == 1 ? point.front() : QChar(u'.'));
    for (const QLocale::Language language : {QLocale::German, QLocale::English}) {
        QLocale::setDefault(QLocale(language));
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(&window, &change);
        EXPECT_EQ(window.decimalSeparator(), language == QLocale::German ? u',' : u'.');
    }
    QLocale::setDefault(QLocale::system());
}

// Each run of the regional-separator tests is started under a locale whose
// separator it states; a locale that is missing would repeat the other run.
TEST(RegionalSeparator, isTheOneThisRunWasStartedFor) {
    const QString expected = qEnvironmentVariable("HCALC_EXPECTED_SEPARATOR", u"."_s);
    EXPECT_EQ(RegionalDecimalSeparator(), expected.front());
}

TEST_F(MainWindow, sharedDesignValuesStartAtZero) {
    const DesignState& design = window.design();
    EXPECT_EQ(design.currentOrder, 0);
    EXPECT_EQ(design.pendingBankCount, 0.0);
    for (const FilterBankRow& row : design.table.rows()) {
        EXPECT_EQ(row.order, 0.0);
        EXPECT_EQ(row.harmonicKvar, 0.0);
    }
}

}  // namespace
}  // namespace hcalc
