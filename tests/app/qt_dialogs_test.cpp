#include "app/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// What a modal box showed: read while it is open, then closed by `close`.
struct Seen {
    QString title;
    QString text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultButton;
    int maxLength = 0;
    QString lineText;
    bool opened = false;
};

// Runs `open` (which shows a modal box) and, once the box is up, reads it and
// calls `close` on it. A box that has not come up within a few seconds fails
// the test; any window then left open is closed, so that `open` returns.
Seen WhileOpen(const std::function<void()>& open, const std::function<void(QWidget*)>& close) {
    Seen seen;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) {
            if (waited.hasExpired(5000)) {
                poll.stop();
                ADD_FAILURE() << "no modal box came up";
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    window->close();
                }
            }
            return;
        }
        poll.stop();
        seen.opened = true;
        seen.title = box->windowTitle();
        for (QPushButton* b : box->findChildren<QPushButton*>()) {
            seen.buttons << b->text();
            if (b->isDefault()) {
                seen.defaultButton = b->text();
            }
        }
        if (auto* message = qobject_cast<QMessageBox*>(box)) {
            seen.text = message->text();
            seen.icon = message->icon();
        }
        if (auto* line = box->findChild<QLineEdit*>()) {
            seen.maxLength = line->maxLength();
            seen.lineText = line->text();
        }
        if (auto* label = box->findChild<QLabel*>(); label && seen.text.isEmpty()) {
            seen.text = label->text();
        }
        close(box);
    });
    poll.start(10);
    open();
    return seen;
}

void Press(QWidget* box, const QString& buttonText) {
    for (QPushButton* b : box->findChildren<QPushButton*>()) {
        if (b->text() == buttonText) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << buttonText.toStdString();
}

TEST(QtDialogs, noticeIsCaptionedWithTheTitleWithoutIcon) {
    QtDialogs dialogs(u"谐波计算软件"_s);
    const Seen seen =
        WhileOpen([&] { dialogs.ShowNotice(u"谐波滤除计算程序"_s); }, [](QWidget* box) { Press(box, u"OK"_s); });
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.title, u"谐波计算软件"_s);
    EXPECT_EQ(seen.text, u"谐波滤除计算程序"_s);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QStringList{u"OK"_s});
    EXPECT_EQ(seen.defaultButton, u"OK"_s);
}

TEST(QtDialogs, faultShowsTheStopIconAndThePlainText) {
    QtDialogs dialogs(u"谐波计算软件"_s);
    const QString text = u"'<b>x</b>' is not a valid floating point value."_s;
    const Seen seen = WhileOpen([&] { dialogs.ShowFault(text); }, [](QWidget* box) { Press(box, u"OK"_s); });
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.title, u"谐波计算软件"_s);
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList{u"OK"_s});
}

TEST(QtDialogs, confirmationAnswersWhichButtonClosedIt) {
    QtDialogs dialogs(u"谐波计算软件"_s);
    bool answer = false;
    Seen seen =
        WhileOpen([&] { answer = dialogs.AskConfirm(u"确认打印方案？"_s); }, [](QWidget* box) { Press(box, u"OK"_s); });
    ASSERT_TRUE(seen.opened);
    EXPECT_TRUE(answer);
    EXPECT_EQ(seen.title, u"Information"_s);
    EXPECT_EQ(seen.text, u"确认打印方案？"_s);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, (QStringList{u"OK"_s, u"Cancel"_s}));
    EXPECT_EQ(seen.defaultButton, u"OK"_s);

    WhileOpen([&] { answer = dialogs.AskConfirm(u"确认打印方案？"_s); }, [](QWidget* box) { Press(box, u"Cancel"_s); });
    EXPECT_FALSE(answer);
    WhileOpen([&] { answer = dialogs.AskConfirm(u"确认打印方案？"_s); }, [](QWidget* box) { box->close(); });
    EXPECT_FALSE(answer);
}

TEST(QtDialogs, inputBoxReturnsTheTypedTextOrTheDefault) {
    QtDialogs dialogs(u"谐波计算软件"_s);
    QString answer;
    Seen seen = WhileOpen([&] { answer = dialogs.AskText(u"提示"_s, u"请输入谐波次数h"_s, QString()); },
                          [](QWidget* box) {
                              box->findChild<QLineEdit*>()->setText(u"5"_s);
                              Press(box, u"OK"_s);
                          });
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(answer, u"5"_s);
    EXPECT_EQ(seen.title, u"提示"_s);
    EXPECT_EQ(seen.text, u"请输入谐波次数h"_s);
    EXPECT_EQ(seen.buttons, (QStringList{u"OK"_s, u"Cancel"_s}));
    EXPECT_EQ(seen.defaultButton, u"OK"_s);
    EXPECT_EQ(seen.maxLength, 255);

    seen = WhileOpen([&] { answer = dialogs.AskText(u"提示"_s, u"p"_s, u"dflt"_s); },
                     [](QWidget* box) {
                         box->findChild<QLineEdit*>()->setText(u"typed"_s);
                         Press(box, u"Cancel"_s);
                     });
    EXPECT_EQ(seen.lineText, u"dflt"_s);
    EXPECT_EQ(answer, u"dflt"_s);

    WhileOpen([&] { answer = dialogs.AskText(u"提示"_s, u"p"_s, QString()); },
              [](QWidget* box) { static_cast<QDialog*>(box)->reject(); });
    EXPECT_EQ(answer, QString());
}

TEST(QtDialogs, inputLineHoldsAtMost255Characters) {
    QtDialogs dialogs(u"谐波计算软件"_s);
    QString answer;
    WhileOpen([&] { answer = dialogs.AskText(u"提示"_s, u"p"_s, QString()); },
              [](QWidget* box) {
                  box->findChild<QLineEdit*>()->insert(QString(300, u'7'));
                  Press(box, u"OK"_s);
              });
    EXPECT_EQ(answer, QString(255, u'7'));
}

}  // namespace
}  // namespace hcalc
