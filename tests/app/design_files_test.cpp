// Design files through the window's menu: the worked example saved and opened
// in a fresh window shows the same and its next clicks do the same; the
// committed file of the worked example still opens; bad files change
// nothing; unsaved changes are asked about; recovery files come and go with them.

#include "app/design_files.h"
#include "app/main_window.h"
#include "app/recovery_store.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"
#include "support/worked_example.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::Find;

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything a user can see of the window, by objectName, besides the fields
// and the status bar's clock, which is no part of a design.
std::map<QString, QString> Shown(const TForm1& window) {
    std::map<QString, QString> shown;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->objectName().isEmpty() && label->objectName() != u"RzClockStatus1"_s) {
            shown[label->objectName()] = label->text();
        }
    }
    for (const char* group : {"RzGroupBox7"}) {
        shown[QString::fromUtf8(group)] = window.findChild<QGroupBox*>(QString::fromUtf8(group))->title();
    }
    for (const QComboBox* list : window.findChildren<QComboBox*>()) {
        shown[list->objectName()] = list->currentText();
    }
    shown[u"Command7"_s] = window.findChild<QWidget*>(u"Command7"_s)->isEnabled() ? u"on"_s : u"off"_s;
    shown[u"R"_s] = window.findChild<QTextEdit*>()->toPlainText();
    shown[u"RPage"_s] = window.findChild<QTabWidget*>(u"RPage"_s)->currentWidget()->objectName();
    const QAbstractItemModel* list = window.findChild<QListView*>(u"List1"_s)->model();
    for (int row = 0; row < list->rowCount(); ++row) {
        shown[u"List1.%1"_s.arg(row)] += list->index(row, 0).data().toString();
    }
    const auto& rows = window.design().table.rows();
    for (std::size_t j = 0; j < rows.size(); ++j) {
        shown[u"table.%1"_s.arg(j)] = u"%1 %2 %3 %4"_s.arg(rows[j].ratedKvar, 0, 'g', 17)
                                          .arg(rows[j].inductanceMh, 0, 'g', 17)
                                          .arg(rows[j].bankCount)
                                          .arg(rows[j].harmonicKvar, 0, 'g', 17);
    }
    shown[u"currentOrder"_s] = QString::number(window.design().currentOrder);
    return shown;
}

class DesignFilesTest : public ::testing::Test {
protected:
    void trigger(TForm1& w, const char* action) { Find<QAction>(&w, QString::fromUtf8(action))->trigger(); }
    QString path(const QString& name) const { return QDir::toNativeSeparators(dir.filePath(name)); }
    // The clicks that follow in a design: the report again, the 7th bank's detuned calculation, the check
    // again and its scan saved, the grid code's limits again; what they show, and the scan.
    std::pair<std::map<QString, QString>, QByteArray> nextClicks(TForm1& w, FakeDialogs& d, const QString& csv) {
        test::Click(&w, u"RzBitBtn13"_s);
        d.answers = {u"3"_s};
        test::Click(&w, u"Command8"_s);
        test::Click(&w, u"checkCalculate"_s);
        d.saveNames = {csv};
        test::Click(&w, u"checkSave"_s);
        test::Click(&w, u"limitCalculate"_s);
        std::map<QString, QString> shown = Shown(w);
        shown.merge(test::FieldTexts(&w));
        return {shown, Read(csv)};
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(DesignFilesTest, theWorkedExampleComesBackWholeAndWorksOn) {
    test::EnterWorkedExample(window, dialogs.answers);
    window.findChild<QTabWidget*>(u"RPage"_s)->setCurrentIndex(4);
    dialogs.clear();
    dialogs.saveNames = {dir.filePath(u"example"_s)};  // the suffix is added
    trigger(window, "SaveDesign");
    EXPECT_EQ(dialogs.events, QStringList{u"save:方案另存为"_s});
    EXPECT_EQ(window.windowTitle(), u"example.hcalc[*] - 谐波计算软件----Quelvaro"_s);
    EXPECT_FALSE(window.isWindowModified());
    const QByteArray saved = Read(path(u"example.hcalc"_s));
    EXPECT_TRUE(saved.startsWith("{\n    \"captions\": {\n")) << saved.left(200).toStdString();

    FakeDialogs otherDialogs;
    TForm1 other(otherDialogs);
    otherDialogs.openNames = {path(u"example.hcalc"_s)};
    trigger(other, "OpenDesign");
    EXPECT_EQ(otherDialogs.events, QStringList{u"open:打开方案"_s});
    EXPECT_EQ(test::FieldTexts(&other), test::FieldTexts(&window));
    EXPECT_EQ(Shown(other), Shown(window));
    EXPECT_EQ(other.windowTitle(), window.windowTitle());
    EXPECT_FALSE(other.designFiles().hasUnsavedChanges());

    // Saved again unchanged, the same bytes; the next clicks do the same in both windows.
    trigger(other, "SaveDesign");
    EXPECT_EQ(Read(path(u"example.hcalc"_s)), saved);
    const auto next = nextClicks(window, dialogs, path(u"a.csv"_s));
    EXPECT_EQ(nextClicks(other, otherDialogs, path(u"b.csv"_s)), next);
    EXPECT_GT(next.second.size(), 50000);
    EXPECT_TRUE(other.designFiles().hasUnsavedChanges());
    EXPECT_TRUE(other.isWindowModified());
}

// The file of the worked example saved by the first version of the format:
// every later version must open it to the same window.
TEST_F(DesignFilesTest, opensTheWorkedExampleOfTheFirstFormat) {
    const QString fixture = QStringLiteral(HCALC_TEST_DATA_DIR "/worked_example.hcalc");
    FakeDialogs otherDialogs;
    TForm1 other(otherDialogs);
    test::EnterWorkedExample(other, otherDialogs.answers);

    // Dropped on the window, it opens once the drop has ended.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(fixture)});
    window.show();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QApplication::processEvents();
    EXPECT_EQ(window.designFiles().filePath(), QFileInfo(fixture).absoluteFilePath());
    EXPECT_TRUE(dialogs.events.isEmpty()) << dialogs.events.join(u"; "_s).toStdString();
    // Every field the file holds, and all else shown, as entered; the grid code's limits, which that
    // version did not keep, are not checked yet, on the check shown.
    const auto ofTheFile = [](const QString& name) { return !name.startsWith(u"limit"_s); };
    const std::map<QString, QString> entered = test::FieldTexts(&other);
    for (const auto& [name, text] : test::FieldTexts(&window)) {
        if (ofTheFile(name)) {
            EXPECT_EQ(text, entered.at(name)) << name.toStdString();
        }
    }
    std::map<QString, QString> shown = Shown(window);
    const std::map<QString, QString> expected = Shown(other);
    shown.erase(u"RPage"_s);
    for (const auto& [name, text] : shown) {
        if (ofTheFile(name)) {
            EXPECT_EQ(text, expected.at(name)) << name.toStdString();
        }
    }
    EXPECT_EQ(shown.at(u"limitVerdict"_s), u"结论："_s);
    EXPECT_EQ(shown.at(u"limitSource"_s), expected.at(u"limitSource"_s));
}

TEST_F(DesignFilesTest, aBadFileIsToldAndChangesNothing) {
    test::EnterWorkedExample(window, dialogs.answers);
    const auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    };
    // A network so weak that the check cannot be computed.
    QString incomputable = QString::fromUtf8(Read(QStringLiteral(HCALC_TEST_DATA_DIR "/worked_example.hcalc")));
    incomputable.replace(QRegularExpression(u"\"shortCircuitMva\": \"[0-9.]*\""_s),
                         u"\"shortCircuitMva\": \"1e-300\""_s);
    // A demand current so small that the grid code's limits cannot be checked.
    QString tinyDemand = QString::fromUtf8(Read(QStringLiteral(HCALC_TEST_DATA_DIR "/worked_example.hcalc")));
    tinyDemand.replace(
        u"\"check\": {"_s,
        u"\"limitCheck\": {\"code\": \"ieee519\", \"maxDemandCurrent\": \"1e-320\"},\n    \"check\": {"_s);
    QFile missing(path(u"missing.hcalc"_s));
    missing.open(QIODevice::ReadOnly);
    struct Bad {
        QString path;
        QString reason;
    };
    // clang-format off
    const Bad cases[] = {
        {path(u"missing.hcalc"_s),                               missing.errorString()},
        {write(u"half.hcalc"_s, "{\"format\": \"hcalc-design\""), u"不是完整的JSON文本（第26个字节处有误），文件可能已损坏或不完整"_s},
        {write(u"v2.hcalc"_s, "{\"format\": \"hcalc-design\", \"version\": \"2.1\"}"),
                                                                 u"这是格式版本2.1的方案，由较新的程序保存；本程序只能打开1.x版本的方案，请用新版程序打开"_s},
        {write(u"check.hcalc"_s, incomputable.toUtf8()),                  u"“check”中的数值超出了校验可计算的范围"_s},
        {write(u"limits.hcalc"_s, tinyDemand.toUtf8()),                   u"“limitCheck”中的数值超出了限值校验可计算的范围"_s},
    };
    // clang-format on
    const auto fields = test::FieldTexts(&window);
    const auto shown = Shown(window);
    for (const Bad& bad : cases) {
        dialogs.clear();
        dialogs.openNames = {bad.path};
        trigger(window, "OpenDesign");
        // The window holds the worked example, in no file: asked about first, it is not saved.
        EXPECT_EQ(dialogs.events, (QStringList{u"unsaved:当前方案尚未保存，是否保存？"_s, u"open:打开方案"_s,
                                               u"fault:无法打开方案文件“%1”：%2。"_s.arg(bad.path, bad.reason)}))
            << dialogs.events.join(u"; "_s).toStdString();
        EXPECT_EQ(test::FieldTexts(&window), fields);
        EXPECT_EQ(Shown(window), shown);
        EXPECT_EQ(window.windowTitle(), u"谐波计算软件----Quelvaro"_s);
    }
}

TEST_F(DesignFilesTest, unsavedChangesAreAskedAbout) {
    using Answer = Dialogs::SaveChanges;
    const QString question = u"unsaved:当前方案尚未保存，是否保存？"_s;
    EXPECT_TRUE(window.close());  // nothing typed: nothing asked
    Find<QLineEdit>(&window, u"Text1"_s)->setText(u"50"_s);
    Find<QLineEdit>(&window, u"Text1"_s)->setText(QString());
    EXPECT_TRUE(window.close());  // typed and taken back: nothing to lose
    EXPECT_TRUE(dialogs.events.isEmpty());

    Find<QLineEdit>(&window, u"Text1"_s)->setText(u"50"_s);
    struct Case {
        Answer answer;
        QString saveAs;  // the file name answered, if asked
        bool closes;
        QStringList events;
    };
    // clang-format off
    const Case cases[] = {
        {Answer::Cancel,  {},                     false, {question}},
        {Answer::Save,    {},                     false, {question, u"save:方案另存为"_s}},  // the file box cancelled
        {Answer::Discard, {},                     true,  {question}},
        {Answer::Save,    path(u"kept.hcalc"_s),  true,  {question, u"save:方案另存为"_s}},
    };
    // clang-format on
    for (const Case& c : cases) {
        dialogs.clear();
        dialogs.saveChangesAnswers = {c.answer};
        dialogs.saveNames = {c.saveAs};
        EXPECT_EQ(window.close(), c.closes);
        EXPECT_EQ(dialogs.events, c.events);
        window.show();
    }
    EXPECT_TRUE(Read(path(u"kept.hcalc"_s)).contains("\"Text1\": \"50\""));

    // A new design asks too, and shows the pages as they started.
    Find<QLineEdit>(&window, u"Text2"_s)->setText(u"480"_s);
    dialogs.clear();
    dialogs.saveChangesAnswers = {Answer::Discard};
    trigger(window, "NewDesign");
    EXPECT_EQ(dialogs.events, QStringList{u"unsaved:方案“kept.hcalc”已修改，是否保存修改？"_s});
    EXPECT_EQ(Find<QLineEdit>(&window, u"Text2"_s)->text(), QString());
    EXPECT_EQ(window.windowTitle(), u"谐波计算软件----Quelvaro"_s);
}

TEST_F(DesignFilesTest, aFailedSaveKeepsTheChangesAndSaysWhy) {
    Find<QLineEdit>(&window, u"Text1"_s)->setText(u"50"_s);
    const QString target = path(u"gone/x.hcalc"_s);
    dialogs.saveNames = {target};
    trigger(window, "SaveDesignAs");
    ASSERT_EQ(dialogs.faults.size(), 1);
    EXPECT_TRUE(dialogs.faults[0].startsWith(u"无法保存方案文件“%1”："_s.arg(target)))
        << dialogs.faults[0].toStdString();
    EXPECT_TRUE(window.designFiles().hasUnsavedChanges());
    EXPECT_EQ(window.windowTitle(), u"谐波计算软件----Quelvaro"_s);
}

TEST_F(DesignFilesTest, recentFilesOpenAndAGoneOneIsDropped) {
    for (const char* name : {"a.hcalc", "b.hcalc"}) {
        dialogs.saveNames = {path(QString::fromUtf8(name))};
        trigger(window, "SaveDesignAs");
    }
    auto* recent = Find<QMenu>(&window, u"RecentDesigns"_s);
    ASSERT_GE(recent->actions().size(), 2);
    EXPECT_TRUE(recent->actions()[0]->text().endsWith(path(u"b.hcalc"_s)));
    EXPECT_TRUE(recent->actions()[1]->text().endsWith(path(u"a.hcalc"_s)));
    QFile::remove(path(u"a.hcalc"_s));
    dialogs.clear();
    recent->actions()[1]->trigger();
    EXPECT_EQ(dialogs.notices,
              QStringList{u"方案文件“%1”已不存在，已从最近打开的方案中移除。"_s.arg(path(u"a.hcalc"_s))});
    EXPECT_FALSE(window.designFiles().recentFiles().contains(QFileInfo(path(u"a.hcalc"_s)).absoluteFilePath()));
    EXPECT_EQ(window.designFiles().filePath(), QFileInfo(path(u"b.hcalc"_s)).absoluteFilePath());
}

// The recovery file follows the unsaved changes: written after a calculation,
// gone once they are saved; left behind by a run that ended with its session,
// it is offered once to the next, and recovered whole.
TEST_F(DesignFilesTest, recoveryFilesFollowTheUnsavedChanges) {
    const QString folder = dir.filePath(u"recovery"_s);
    QString recoveryPath;
    {
        FakeDialogs first;
        TForm1 w(first);
        RecoveryStore store(folder);
        w.designFiles().keepRecoveryIn(store);
        recoveryPath = store.path();
        test::Fill(&w, {{"Text71", "500"}, {"Text72", "0.95"}, {"Text73", "0.7"}});
        EXPECT_FALSE(QFile::exists(recoveryPath));  // not yet: a few seconds after the last change
        test::Click(&w, u"RzBitBtn2"_s);
        EXPECT_TRUE(Read(recoveryPath).contains("\"Text320\": \"345\""));
        first.saveNames = {path(u"saved.hcalc"_s)};
        trigger(w, "SaveDesign");
        EXPECT_FALSE(QFile::exists(recoveryPath));
        test::Fill(&w, {{"Text71", "600"}});
        test::Click(&w, u"RzBitBtn2"_s);
        w.designFiles().commitRecovery();  // the session ends: the file stays
    }
    ASSERT_TRUE(QFile::exists(recoveryPath));

    RecoveryStore store(folder);
    window.designFiles().keepRecoveryIn(store);
    dialogs.recoverAnswers = {true};
    window.designFiles().offerRecovery();
    ASSERT_EQ(dialogs.events.size(), 1);
    EXPECT_TRUE(dialogs.events[0].startsWith(u"recover:程序上次没有正常结束"_s));
    EXPECT_TRUE(dialogs.events[0].contains(path(u"saved.hcalc"_s)));
    EXPECT_EQ(Find<QLineEdit>(&window, u"Text71"_s)->text(), u"600"_s);
    EXPECT_EQ(Find<QLineEdit>(&window, u"Text320"_s)->text(), u"414"_s);
    EXPECT_EQ(window.windowTitle(), u"saved.hcalc[*] - 谐波计算软件----Quelvaro"_s);
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_FALSE(QFile::exists(recoveryPath));
    EXPECT_TRUE(QFile::exists(store.path()));  // kept by this run now

    // Offered once: the next start finds nothing of the first run.
    RecoveryStore later(folder);
    EXPECT_TRUE(later.claimOrphans().empty());
}

}  // namespace
}  // namespace hcalc
