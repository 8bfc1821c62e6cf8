// The design file without a window: kept numbers come back bit for bit, a
// newer minor version's keys are ignored, and every kind of bad file is
// refused with its reason.

#include "core/design_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <limits>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// A design whose kept numbers take the extremes of a double.
DesignDocument Extremes() {
    DesignDocument d;
    d.page = u"TabSheet5"_s;
    d.fields[u"TabSheet1"_s] = {{u"Text1"_s, u"50"_s}, {u"Text2"_s, u""_s}};
    d.fields[u"TabSheet4"_s] = {{u"Text71"_s, u"0,95  带逗号"_s}};
    d.captions[u"RzGroupBox7"_s] = u"在电感偏谐振率E＝0.01"_s;
    d.switches[u"Command7"_s] = true;
    d.report = {u"第一行"_s, QString(), u"\t末行"_s};
    FilterBankRow& row = *d.design.table.rowFor(5);
    row.order = 5;
    row.ratedKvar = 0.1;
    row.ratedVoltage = std::numeric_limits<double>::max();
    row.capacitanceUf = std::numeric_limits<double>::denorm_min();
    row.ratedCurrent = -0.0;
    row.inductanceMh = -2.5e-310;
    row.harmonicKvar = 72.3681163447734;
    d.design.currentOrder = -2147483647 - 1;
    d.design.pendingBankCount = 1.0 / 3;
    d.searches.push_back({{115, 230.5, {10, 40, 25, 1e-300}}, u','});
    ResonanceInputs check;
    check.lineVoltage = 400;
    check.shortCircuitMva = 1000.0 / 60;
    check.xOverR = 10;
    check.branches[1] = {true, 480, 96.1669565217393, 4.04, 50};
    check.harmonicCurrents = {10, 40, 25, 10};
    d.check = check;
    GridCodeInputs limits;
    limits.gb = {5, 0.1, UserShare{1e-300, 0.30000000000000004}};
    d.limitCheck = limits;
    return d;
}

TEST(DesignFile, keepsEveryValueBitForBit) {
    const DesignDocument d = Extremes();
    const QByteArray bytes = WriteDesign(d);
    const DesignReading read = ReadDesign(bytes);
    ASSERT_TRUE(read.design.has_value()) << read.error.toStdString();
    EXPECT_EQ(WriteDesign(*read.design), bytes);  // the same design gives the same bytes

    const FilterBankRow& a = *d.design.table.rowFor(5);
    const FilterBankRow& b = *read.design->design.table.rowFor(5);
    for (double FilterBankRow::*column :
         {&FilterBankRow::ratedKvar, &FilterBankRow::ratedVoltage, &FilterBankRow::capacitanceUf,
          &FilterBankRow::ratedCurrent, &FilterBankRow::inductanceMh, &FilterBankRow::harmonicKvar}) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(a.*column), std::bit_cast<std::uint64_t>(b.*column)) << a.*column;
    }
    EXPECT_EQ(read.design->design.currentOrder, d.design.currentOrder);
    EXPECT_EQ(read.design->fields, d.fields);
    EXPECT_EQ(read.design->report, d.report);
    EXPECT_EQ(read.design->searches[0].separator, u',');
    EXPECT_EQ(read.design->searches[0].inputs.currents[3], 1e-300);
    EXPECT_EQ(read.design->check->branches[1].ratedKvar, 96.1669565217393);
    EXPECT_EQ(read.design->limitCheck, d.limitCheck);
    EXPECT_TRUE(bytes.contains("\n    \"version\": \"1.1\""));

    // Exact decimals, readable in a text editor, one value per line.
    EXPECT_EQ(ExactDecimal(0.1), u"0.1000000000000000055511151231257827021181583404541015625"_s);
    EXPECT_EQ(ExactDecimal(-0.0), u"-0"_s);
    EXPECT_EQ(ExactDecimal(1e21), u"1000000000000000000000"_s);
    EXPECT_TRUE(bytes.contains(
        "\n            \"ratedKvar\": \"0.1000000000000000055511151231257827021181583404541015625\",\n"));
}

TEST(DesignFile, ignoresWhatANewerMinorVersionAdds) {
    QJsonObject root = QJsonDocument::fromJson(WriteDesign(Extremes())).object();
    root[u"version"_s] = u"1.7"_s;
    root[u"futureKey"_s] = QJsonObject{{u"x"_s, 1}};
    const DesignReading read = ReadDesign(QJsonDocument(root).toJson());
    ASSERT_TRUE(read.design.has_value()) << read.error.toStdString();
    EXPECT_EQ(WriteDesign(*read.design), WriteDesign(Extremes()));
}

// The design's bytes with one value replaced (a path of keys into the JSON).
QByteArray With(const QStringList& path, const QJsonValue& value) {
    std::function<QJsonValue(QJsonValue, qsizetype)> set = [&](QJsonValue at, qsizetype i) -> QJsonValue {
        if (i == path.size()) {
            return value;
        }
        bool isIndex = false;
        const int index = path[i].toInt(&isIndex);
        if (isIndex) {
            QJsonArray array = at.toArray();
            array[index] = set(array[index], i + 1);
            return array;
        }
        QJsonObject object = at.toObject();
        object[path[i]] = set(object[path[i]], i + 1);
        return object;
    };
    return QJsonDocument(set(QJsonDocument::fromJson(WriteDesign(Extremes())).object(), 0).toObject()).toJson();
}

TEST(DesignFile, refusesWhatIsNoDesignSayingWhy) {
    const QByteArray good = WriteDesign(Extremes());
    struct Bad {
        const char* what;
        QByteArray bytes;
        const char* reason;  // a part of the reason told
    };
    // clang-format off
    const Bad cases[] = {
        {"empty",                QByteArray(),                                          "文件是空的"},
        {"truncated",            good.left(good.size() / 2),                            "不是完整的JSON文本"},
        {"not JSON",             "PNG\x89 binary",                                      "不是完整的JSON文本"},
        {"an array",             "[1, 2]",                                              "最外层不是对象"},
        {"another format",       With({u"format"_s}, u"other"_s),                       "不是谐波计算方案文件"},
        {"newer major version",  With({u"version"_s}, u"2.0"_s),                        "格式版本2.0"},
        {"no version",           With({u"version"_s}, QJsonValue::Undefined),           "缺少“version”"},
        {"a number as text",     With({u"filterBanks"_s, u"1"_s, u"ratedKvar"_s}, 5),   "“filterBanks[1].ratedKvar”应为有限的十进制数值"},
        {"text for a number",    With({u"filterBanks"_s, u"1"_s, u"ratedKvar"_s}, u"abc"_s), "filterBanks[1].ratedKvar"},
        {"NaN for a number",     With({u"pendingBankCount"_s}, u"nan"_s),               "“pendingBankCount”应为有限"},
        {"beyond a double",      With({u"pendingBankCount"_s}, u"1e400"_s),             "“pendingBankCount”应为有限"},
        {"three banks",          With({u"filterBanks"_s, u"3"_s}, QJsonValue::Undefined), ""},
        {"order not an integer", With({u"currentOrder"_s}, 2.5),                        "“currentOrder”应为整数"},
        {"a line in a field",    With({u"fields"_s, u"TabSheet1"_s, u"Text1"_s}, u"5\n0"_s), "控制字符"},
        {"a field too long",     With({u"fields"_s, u"TabSheet1"_s, u"Text1"_s}, QString(32768, u'9')), "文字过长"},
        {"a bad name",           With({u"captions"_s, u"a b"_s}, u"x"_s),               "名称“a b”无效"},
        {"a check out of range", With({u"check"_s, u"branches"_s, u"1"_s, u"reactanceRatioPct"_s}, u"100"_s), "不是一次可以进行的校验"},
        {"limits without check", With({u"check"_s}, QJsonValue::Undefined),          "有“limitCheck”而没有它所依据的“check”"},
        {"an unknown code",      With({u"limitCheck"_s, u"code"_s}, u"iec"_s),         "“limitCheck.code”应为“gb14549”或“ieee519”"},
        {"a level not in table", With({u"limitCheck"_s, u"pccLevel"_s}, 6),            "不是一次可以进行的限值校验"},
        {"S_i above S_t",        With({u"limitCheck"_s, u"share"_s, u"agreedMva"_s}, u"0.4"_s), "不是一次可以进行的限值校验"},
        {"no demand current",    With({u"limitCheck"_s, u"code"_s}, u"ieee519"_s),     "缺少“limitCheck.maxDemandCurrent”"},
        {"a bad separator",      With({u"searches"_s, u"0"_s, u"separator"_s}, u";"_s), "应为“.”或“,”"},
        {"too many searches",    With({u"searches"_s}, QJsonArray::fromVariantList(QVariantList(65, QVariant(QJsonObject())))), "最多保留64次"},
        {"huge",                 good + QByteArray(kMaxDesignBytes, ' '),                "文件过大"},
    };
    // clang-format on
    for (const Bad& bad : cases) {
        const DesignReading read = ReadDesign(bad.bytes);
        EXPECT_FALSE(read.design.has_value()) << bad.what;
        EXPECT_TRUE(read.error.contains(QString::fromUtf8(bad.reason))) << bad.what << ": " << read.error.toStdString();
        EXPECT_FALSE(read.error.isEmpty()) << bad.what;
    }
}

}  // namespace
}  // namespace hcalc
