#pragma once

#include "app/main_window.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QTextEdit>

#include <gtest/gtest.h>

namespace hcalc::test {

// Where no default printer is set up: "方案生成", then "打印方案" answered
// with OK stops with the error box after the confirmation, and the report
// stays as it was.
inline void ExpectPrintingStopsForWantOfAPrinter() {
    using namespace Qt::Literals::StringLiterals;
    FakeDialogs dialogs;
    TForm1 window(dialogs);
    Click(&window, u"RzBitBtn13"_s);
    const QString text = Find<QTextEdit>(&window, u"R"_s)->toPlainText();
    dialogs.confirmAnswers = {true};

    Click(&window, u"RzBitBtn15"_s);

    EXPECT_EQ(dialogs.events,
              (QStringList{u"confirm:确认打印方案？"_s, u"fault:There is no default printer currently selected."_s}));
    EXPECT_EQ(Find<QTextEdit>(&window, u"R"_s)->toPlainText(), text);
}

}  // namespace hcalc::test
