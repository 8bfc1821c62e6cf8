// Printing through the Windows print spooler.

#include "app/main_window.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QPrinterInfo>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::Find;

TEST(WindowsPrinting, withoutADefaultPrinterStopsWithTheErrorBox) {
    if (!QPrinterInfo::defaultPrinterName().isEmpty()) {
        GTEST_SKIP() << "a default printer is set";
    }
    FakeDialogs dialogs;
    TForm1 window(dialogs);
    test::Click(&window, u"RzBitBtn13"_s);
    const QString text = Find<QTextEdit>(&window, u"R"_s)->toPlainText();
    dialogs.confirmAnswers = {true};

    test::Click(&window, u"RzBitBtn15"_s);

    EXPECT_EQ(dialogs.events,
              (QStringList{u"confirm:确认打印方案？"_s, u"fault:There is no default printer currently selected."_s}));
    EXPECT_EQ(Find<QTextEdit>(&window, u"R"_s)->toPlainText(), text);
}

}  // namespace
}  // namespace hcalc
