// Every calculate handler of every page, with each text of a hostile corpus put
// into each of its input fields in turn (the others valid), and each text given
// as each answer of its input boxes. Whatever is typed: no crash, no hang, only
// the program's own messages or the five fault texts, and the fields a handler
// wrote are exactly those it writes before the step that stopped it.

#include "app/main_window.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::Find;

struct Handler {
    const char* button;
    // Input fields in the order the handler reads them, with a valid text each.
    std::vector<std::pair<const char*, const char*>> inputs;
    // Valid answers to the handler's input boxes, in the order it asks.
    std::vector<const char*> answers;
    // The orders in which the handler can write its fields (a zero voltage, for
    // one, takes a shorter path); what a click writes is a prefix of one.
    std::vector<std::vector<const char*>> writeOrders;
    // How many fields of the first write order are written before an input is
    // read ("#0" for the first answer, "#1" for the second); 0 when absent.
    std::map<std::string, int> writtenBefore;
};

// Buttons clicked first (with their own valid answers and fields) to enable a
// handler: the detuned reactor calculation follows a tuned one, the grid
// code's limits a resonance check.
struct Preparation {
    const char* button;
    std::vector<const char*> answers;
    std::vector<std::pair<const char*, const char*>> fields;
};
const std::map<std::string, Preparation> kPreparations = {
    {"Command7", {"Command4", {"5"}, {}}},
    {"limitCalculate",
     {"checkCalculate",
      {},
      {{"checkLineVoltage", "400"},
       {"checkShortCircuit", "16"},
       {"checkXOverR", "10"},
       {"checkRatedKvar3", "0"},
       {"checkRatedKvar7", "0"},
       {"checkRatedKvar11", "0"},
       {"checkRatedKvar5", "100"},
       {"checkRatedVoltage5", "480"},
       {"checkRatio5", "4.04"},
       {"checkQuality5", "50"},
       {"checkCurrent3", "10"},
       {"checkCurrent5", "40"},
       {"checkCurrent7", "25"},
       {"checkCurrent11", "10"}}}},
};

// clang-format off
const std::vector<Handler> kHandlers = {
    // Capacitor and reactor page.
    {"Command1", {{"Text1", "100"}, {"Text2", "400"}}, {"5"},
     {{"Text3", "Text4", "Text41", "Text5", "Text6", "Text7", "Text11"}}, {{"#0", 3}}},
    {"Command4", {{"Text6", "100"}, {"Text7", "400"}}, {"5"},
     {{"Text8", "Text9", "Text10", "Text12"}, {"Text12"}}, {}},
    {"Command7", {{"Text6", "100"}, {"Text7", "400"}, {"Text9", "0.2"}}, {"0.01"},
     {{"Text21", "Text22", "Text23", "Text24"}}, {}},
    // Capacitor bank page.
    {"Command6", {{"Text11", "100"}, {"Text12", "2"}, {"Text13", "400"}, {"Text64", "5"}, {"Text63", "10"}}, {"2"},
     {{"Text66", "Text14", "Text15", "Text16", "Text67", "Text17", "Text18", "Text19", "Text20", "Text65",
       "checkLineVoltage"}}, {}},
    {"Command8", {{"Text11", "100"}, {"Text24", "2.2"}, {"Text13", "400"}, {"Text64", "5"}, {"Text63", "10"}}, {"2"},
     {{"Text69", "Text25", "Text26", "Text27", "Text68", "Text28", "Text29", "Text30", "Text31", "Text70",
       "checkLineVoltage"}}, {}},
    // Simple calculations page.
    {"Command9",    {{"Text32", "100"}, {"Text33", "400"}}, {}, {{"Text34"}}, {}},
    {"Command12",   {{"Text37", "100"}, {"Text36", "400"}}, {}, {{"Text35"}}, {}},
    {"Command14",   {{"Text40", "100"}, {"Text39", "400"}}, {}, {{"Text38"}}, {}},
    {"RzBitBtn14",  {{"T1", "100"}, {"T2", "6"}}, {}, {{"T3", "T4"}}, {}},
    // Compensation capacity page.
    {"RzBitBtn2", {{"Text71", "100"}, {"Text72", "0.95"}, {"Text73", "0.8"}}, {}, {{"Text74", "Text320"}}, {}},
    // Installation capacity page.
    {"RzBitBtn3",
     {{"Text320", "30"}, {"Text330", "220"}, {"Text43", "0"}, {"Text340", "20"}, {"Text350", "10"}, {"Text360", "0"}},
     {},
     {{"Text45", "Text370", "Text380", "Text390", "Text44", "Text400", "Text410", "Text42",
       "Text1a", "Text8a", "Text12a", "Text16a", "checkCurrent3", "checkCurrent5", "checkCurrent7", "checkCurrent11",
       "Text59", "Text60", "Text61", "Text62",
       "Text2a", "Text7a", "Text11a", "Text15a"}}, {}},
    // Capacitor selection page.
    {"RzBitBtn5",  {{"Text1a", "100"},  {"Text2a", "400"},  {"Text3a", "450"}},  {},
     {{"Text4a", "checkRatedVoltage3", "checkRatedKvar3"}},  {}},
    {"RzBitBtn7",  {{"Text8a", "100"},  {"Text7a", "400"},  {"Text6a", "450"}},  {},
     {{"Text5a", "checkRatedVoltage5", "checkRatedKvar5"}},  {}},
    {"RzBitBtn9",  {{"Text12a", "100"}, {"Text11a", "400"}, {"Text10a", "450"}}, {},
     {{"Text9a", "checkRatedVoltage7", "checkRatedKvar7"}},  {}},
    {"RzBitBtn11", {{"Text16a", "100"}, {"Text15a", "400"}, {"Text14a", "450"}}, {},
     {{"Text13a", "checkRatedVoltage11", "checkRatedKvar11"}}, {}},
    // Resonance check: one branch, the 5th; the others without capacity, their other fields and the
    // transformer's read only when a hostile text gives them one or empties S_k. It writes no field of
    // its own; a check shown gives the limits' page its S_k as S_k1.
    {"checkCalculate",
     {{"checkLineVoltage", "400"}, {"checkShortCircuit", "16"}, {"checkTransformerRating", "1000"},
      {"checkImpedanceVoltage", "6"}, {"checkXOverR", "10"},
      {"checkRatedKvar3", "0"}, {"checkRatedVoltage3", "525"}, {"checkRatio3", "11"}, {"checkQuality3", "50"},
      {"checkCurrent3", "10"},
      {"checkRatedKvar5", "100"}, {"checkRatedVoltage5", "480"}, {"checkRatio5", "4.04"}, {"checkQuality5", "50"},
      {"checkCurrent5", "40"},
      {"checkRatedKvar7", "0"}, {"checkRatedVoltage7", "480"}, {"checkRatio7", "2"}, {"checkQuality7", "50"},
      {"checkCurrent7", "25"},
      {"checkRatedKvar11", "0"}, {"checkRatedVoltage11", "450"}, {"checkRatio11", "0.8"}, {"checkQuality11", "50"},
      {"checkCurrent11", "10"}},
     {}, {{"limitMinShortCircuit"}}, {}},
    // Grid code's limits (GB/T 14549, the list's first) on that check, shared by a user. It writes no field.
    {"limitCalculate",
     {{"limitMinShortCircuit", "150"}, {"limitAgreedCapacity", "5"}, {"limitSupplyCapacity", "20"}},
     {}, {{}}, {}},
};

// The program's own messages: any notice must be one of these.
const QStringList kNotices = {
    u"请输入完整数据"_s, u"请输入额定电容或额定电压！"_s, u"额定电压不可为0"_s, u"请先输入数据！"_s,
    u"输入数据不完整，请输入完整数据！"_s, u"请至少输入一条支路的电容器额定容量QR"_s,
    u"请输入电网的短路容量Sk，或变压器容量ST与阻抗电压uk"_s, u"输入的数值超出了可计算的范围，请检查输入"_s,
    u"请同时输入用户协议容量Si与供电设备容量St，或都不填"_s, u"用户协议容量Si不能大于供电设备容量St"_s,
};
// The resonance check's notices that name the field they are about.
const QRegularExpression kNamingNotice(u"^(请输入.+|.+(必须大于0|不能小于0|必须不小于0且小于100))$"_s);
// clang-format on

QStringList HostileTexts(QChar separator) {
    const QChar other = separator == u'.' ? QChar(u',') : QChar(u'.');
    return {
        QString(),
        u" "_s,
        u"   "_s,
        u"\t"_s,
        u"nan"_s,
        u"inf"_s,
        u"-inf"_s,
        u"1e5000"_s,
        u"1e500"_s,
        u"-1e500"_s,
        u"1e-400"_s,
        u"-0"_s,
        u"0"_s,
        u"１２"_s,
        u"\u22125"_s,  // minus sign
        u"1"_s + separator + u"5"_s,
        u"1"_s + other + u"5"_s,
        u"<b>1</b>"_s,
        QString(100000, u'9'),
        QString(300, u'7'),
        u"$FFFFFFFF"_s,
        u"-2147483649"_s,
        u"2147483648"_s,
    };
}

// A fault text the error box may show for a click that was given `hostile`.
bool IsAllowedFault(const QString& text, const QString& hostile) {
    static const QStringList arithmetic = {u"Floating point division by zero."_s,
                                           u"Invalid floating point operation."_s, u"Floating point overflow."_s};
    if (arithmetic.contains(text)) {
        return true;
    }
    return text == u"'"_s + hostile + u"' is not a valid floating point value."_s ||
           text == u"'"_s + hostile + u"' is not a valid integer value."_s;
}

class HostileInput : public ::testing::Test {
protected:
    struct Outcome {
        QStringList written;  // fields whose text a click changed, in the order it changed them
        QStringList events;   // the boxes shown
        QString held;         // the hostile text as the field holds it (a line edit keeps 32767 characters)
    };

    // A valid text of the tables, with the regional decimal separator.
    QString valid(const char* text) const {
        QString t = QString::fromUtf8(text);
        t.replace(u'.', window.decimalSeparator());
        return t;
    }

    // Runs one handler with all its inputs valid except `field` (or answer
    // `answerIndex`), which holds `hostile`.
    Outcome run(const Handler& h, const char* field, int answerIndex, const QString& hostile) {
        for (QLineEdit* f : window.findChildren<QLineEdit*>()) {
            f->setText(u"#"_s);  // every write shows, whatever it writes
        }
        if (const auto prepare = kPreparations.find(h.button); prepare != kPreparations.end()) {
            for (const auto& [name, text] : h.inputs) {
                Find<QLineEdit>(&window, QString::fromUtf8(name))->setText(valid(text));
            }
            for (const auto& [name, text] : prepare->second.fields) {
                Find<QLineEdit>(&window, QString::fromUtf8(name))->setText(valid(text));
            }
            for (const char* a : prepare->second.answers) {
                dialogs.answers.push_back(valid(a));
            }
            test::Click(&window, QString::fromUtf8(prepare->second.button));
        }
        Outcome outcome;
        outcome.held = hostile;
        for (const auto& [name, text] : h.inputs) {
            QLineEdit* input = Find<QLineEdit>(&window, QString::fromUtf8(name));
            const bool target = field && std::string(name) == field;
            input->setText(target ? hostile : valid(text));
            if (target) {
                outcome.held = input->text();
            }
        }
        dialogs.clear();
        dialogs.answers.clear();
        for (std::size_t i = 0; i < h.answers.size(); ++i) {
            dialogs.answers.push_back(static_cast<int>(i) == answerIndex ? hostile : valid(h.answers[i]));
        }

        std::vector<QMetaObject::Connection> connections;
        for (QLineEdit* f : window.findChildren<QLineEdit*>()) {
            connections.push_back(QObject::connect(f, &QLineEdit::textChanged, f, [&outcome, f] {
                if (!outcome.written.contains(f->objectName())) {
                    outcome.written << f->objectName();
                }
            }));
        }
        test::Click(&window, QString::fromUtf8(h.button));
        for (const auto& c : connections) {
            QObject::disconnect(c);
        }
        outcome.events = dialogs.events;
        return outcome;
    }

    void check(const Handler& h, const std::string& target, const Outcome& outcome) {
        const QString& hostile = outcome.held;
        SCOPED_TRACE(std::string(h.button) + " with '" + hostile.left(20).toStdString() + "' as " + target);
        bool stopped = false;
        bool conversionOfTarget = false;
        for (const QString& e : outcome.events) {
            if (e.startsWith(u"notice:"_s)) {
                EXPECT_TRUE(kNotices.contains(e.mid(7)) || kNamingNotice.match(e.mid(7)).hasMatch()) << e.toStdString();
                stopped = true;  // a guard ends the handler or takes its shorter path
            } else if (e.startsWith(u"fault:"_s)) {
                EXPECT_TRUE(IsAllowedFault(e.mid(6), hostile)) << e.left(200).toStdString();
                stopped = true;
                conversionOfTarget = e.contains(u"' is not a valid "_s);
            }
        }
        // The written fields are a prefix of one of the handler's write orders.
        bool prefix = false;
        bool complete = false;
        for (const auto& order : h.writeOrders) {
            if (outcome.written.size() > static_cast<qsizetype>(order.size())) {
                continue;
            }
            bool same = true;
            for (qsizetype i = 0; i < outcome.written.size(); ++i) {
                same = same && outcome.written[i] == QString::fromUtf8(order[static_cast<std::size_t>(i)]);
            }
            prefix = prefix || same;
            complete = complete || (same && outcome.written.size() == static_cast<qsizetype>(order.size()));
        }
        EXPECT_TRUE(prefix) << "written: " << outcome.written.join(u", "_s).toStdString();
        if (!stopped) {
            EXPECT_TRUE(complete) << "ended without a message but wrote only: "
                                  << outcome.written.join(u", "_s).toStdString();
        }
        if (conversionOfTarget) {
            const auto before = h.writtenBefore.find(target);
            const int expected = before == h.writtenBefore.end() ? 0 : before->second;
            EXPECT_EQ(outcome.written.size(), expected) << "written: " << outcome.written.join(u", "_s).toStdString();
        }
    }

    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(HostileInput, everyHandlerSurvivesEveryTextUnderTheRegionalSeparator) {
    const QStringList texts = HostileTexts(window.decimalSeparator());
    int cases = 0;
    for (const Handler& h : kHandlers) {
        for (const QString& hostile : texts) {
            for (const auto& [name, unused] : h.inputs) {
                check(h, name, run(h, name, -1, hostile));
                ++cases;
            }
            for (std::size_t i = 0; i < h.answers.size(); ++i) {
                check(h, std::string("#").append(std::to_string(i)), run(h, nullptr, static_cast<int>(i), hostile));
                ++cases;
            }
        }
        // The valid inputs alone complete without a message.
        const Outcome allValid = run(h, nullptr, -1, QString());
        const QStringList messages = allValid.events.filter(QRegularExpression(u"^(notice|fault):"_s));
        EXPECT_TRUE(messages.isEmpty()) << h.button << ": " << messages.join(u"; "_s).toStdString();
    }
    RecordProperty("cases", cases);
    std::printf("hostile-input sweep: %d cases\n", cases);
}

}  // namespace
}  // namespace hcalc
