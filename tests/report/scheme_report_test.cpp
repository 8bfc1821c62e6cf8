#include "report/scheme_report.h"

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// Before any calculation: empty site fields, every table value 0.
const QString kEmptyReport = QString::fromUtf8(
    R"(1. 现场信息：
---------------------------------------------------
现场的有功功率为：(KW)
目前功率因数为：
目标功率因数为：
相电压为：(V)
3次谐波电流为：(A)
5次谐波电流为：(A)
7次谐波电流为：(A)
11次谐波电流为：(A)
---------------------------------------------------
2. 方案：
3次滤波器组
A. 选用的三角形连接电容器：
容量为：0(KVar)；额定电压为：0(V)
电容值为：0(uF)；额定电流为：0(A)
B. 对应的电抗器：
电感值为：0(mH)；电抗率为：0%
C. 以上组合共：0组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：0(KVar)
所有电容器输出的无功功率为：0(KVar)，谐波容量为：0(KVar)
---------------------------------------------------
5次滤波器组
A. 选用的三角形连接电容器：
容量为：0(KVar)；额定电压为：0(V)
电容值为：0(uF)；额定电流为：0(A)
B. 对应的电抗器：
电感值为：0(mH)；电抗率为：0%
C. 以上组合共：0组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：0(KVar)
所有电容器输出的无功功率为：0(KVar)，谐波容量为：0(KVar)
---------------------------------------------------
7次滤波器组
A. 选用的三角形连接电容器：
容量为：0(KVar)；额定电压为：0(V)
电容值为：0(uF)；额定电流为：0(A)
B. 对应的电抗器：
电感值为：0(mH)；电抗率为：0%
C. 以上组合共：0组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：0(KVar)
所有电容器输出的无功功率为：0(KVar)，谐波容量为：0(KVar)
---------------------------------------------------
11次滤波器组
A. 选用的三角形连接电容器：
容量为：0(KVar)；额定电压为：0(V)
电容值为：0(uF)；额定电流为：0(A)
B. 对应的电抗器：
电感值为：0(mH)；电抗率为：0%
C. 以上组合共：0组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：0(KVar)
所有电容器输出的无功功率为：0(KVar)，谐波容量为：0(KVar)
---------------------------------------------------)");

// The site inputs of a typical design and a table holding the 5th and the
// 11th filter banks; the 3rd and 7th rows were never calculated.
const QString kTwoOrderReport = QString::fromUtf8(
    R"(1. 现场信息：
---------------------------------------------------
现场的有功功率为：1000(KW)
目前功率因数为：0.75
目标功率因数为：0.95
相电压为：380(V)
3次谐波电流为：35.5(A)
5次谐波电流为：60(A)
7次谐波电流为：22.5(A)
11次谐波电流为：8(A)
---------------------------------------------------
2. 方案：
3次滤波器组
A. 选用的三角形连接电容器：
容量为：0(KVar)；额定电压为：0(V)
电容值为：0(uF)；额定电流为：0(A)
B. 对应的电抗器：
电感值为：0(mH)；电抗率为：0%
C. 以上组合共：0组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：0(KVar)
所有电容器输出的无功功率为：0(KVar)，谐波容量为：0(KVar)
---------------------------------------------------
5次滤波器组
A. 选用的三角形连接电容器：
容量为：40(KVar)；额定电压为：525(V)
电容值为：462.130165480619(uF)；额定电流为：43.9885310880386(A)
B. 对应的电抗器：
电感值为：0.879338(mH)；电抗率为：4.00000000000001%
C. 以上组合共：3组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：112.5(KVar)
所有电容器输出的无功功率为：117.1875(KVar)，谐波容量为：1.5E-5(KVar)
---------------------------------------------------
7次滤波器组
A. 选用的三角形连接电容器：
容量为：0(KVar)；额定电压为：0(V)
电容值为：0(uF)；额定电流为：0(A)
B. 对应的电抗器：
电感值为：0(mH)；电抗率为：0%
C. 以上组合共：0组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：0(KVar)
所有电容器输出的无功功率为：0(KVar)，谐波容量为：0(KVar)
---------------------------------------------------
11次滤波器组
A. 选用的三角形连接电容器：
容量为：0.333333333333333(KVar)；额定电压为：480(V)
电容值为：0.333333333333333(uF)；额定电流为：1E20(A)
B. 对应的电抗器：
电感值为：-2.5(mH)；电抗率为：0.666666666666667%
C. 以上组合共：2组
D. 效果检验：
全部电容器组投切上去后，所有电容器组输出的无功功率为：123456789012345(KVar)
所有电容器输出的无功功率为：1E15(KVar)，谐波容量为：0.0001(KVar)
---------------------------------------------------)");

SiteTexts typicalSite() {
    return {u"1000"_s, u"0.75"_s, u"0.95"_s, u"380"_s, {u"35.5"_s, u"60"_s, u"22.5"_s, u"8"_s}};
}

FilterBankTable twoOrderTable() {
    FilterBankTable table;
    *table.rowFor(5) = {5,     40,       525,   462.130165480619, 43.9885310880386, 0.879338, 4.00000000000001, 3,
                        112.5, 117.1875, 1.5e-5};
    *table.rowFor(11) = {11, 1.0 / 3, 480, 0.333333333333333, 1e20, -2.5, 2.0 / 3, 2, 123456789012345, 1e15, 0.0001};
    return table;
}

TEST(SchemeReport, beforeAnyCalculationShowsEveryValueAsZero) {
    const QStringList lines = SchemeReport(SiteTexts{}, FilterBankTable{}, u'.');
    EXPECT_EQ(lines.size(), kSchemeReportLineCount);
    EXPECT_EQ(lines.join(u'\n'), kEmptyReport);
}

TEST(SchemeReport, showsTheSiteAndEveryFilterBankOfTheTable) {
    const QStringList lines = SchemeReport(typicalSite(), twoOrderTable(), u'.');
    EXPECT_EQ(lines.size(), kSchemeReportLineCount);
    EXPECT_EQ(lines.join(u'\n'), kTwoOrderReport);
}

// The order column is not read: a section's heading comes from its position.
TEST(SchemeReport, headingsFollowTheRowsNotTheirOrderColumn) {
    FilterBankTable table = twoOrderTable();
    table.rowFor(5)->order = 0;
    table.rowFor(11)->order = 3;
    EXPECT_EQ(SchemeReport(typicalSite(), table, u'.').join(u'\n'), kTwoOrderReport);
}

TEST(SchemeReport, tableValuesUseTheRegionalSeparator) {
    const SiteTexts site = typicalSite();  // "0.75" and the like stay as typed
    const QStringList lines = SchemeReport(site, twoOrderTable(), u',');
    QStringList expected = kTwoOrderReport.split(u'\n');
    for (int line : {27, 29, 32, 33, 48, 49, 51, 55}) {  // the lines with fractional table values
        expected[line - 1].replace(u'.', u',');
    }
    EXPECT_EQ(lines, expected);
}

// Site fields are copied exactly as they stand: spaces, text that is no
// number, another separator, nothing at all.
TEST(SchemeReport, copiesTheSiteFieldsVerbatim) {
    // clang-format off
    const SiteTexts site{u" 1000 "_s, u"abc"_s, QString(), u"0,9"_s,
                         {u"1e3"_s, u"  "_s, u"12.50"_s, u"－5"_s}};
    // clang-format on
    const QStringList lines = SchemeReport(site, FilterBankTable{}, u'.');
    const QStringList expected = kEmptyReport.split(u'\n');
    const QStringList site3To10{
        u"现场的有功功率为： 1000 (KW)"_s,
        u"目前功率因数为：abc"_s,
        u"目标功率因数为："_s,
        u"相电压为：0,9(V)"_s,
        u"3次谐波电流为：1e3(A)"_s,
        u"5次谐波电流为：  (A)"_s,
        u"7次谐波电流为：12.50(A)"_s,
        u"11次谐波电流为：－5(A)"_s,
    };
    EXPECT_EQ(lines.mid(2, 8), site3To10);
    EXPECT_EQ(lines.mid(0, 2), expected.mid(0, 2));
    EXPECT_EQ(lines.mid(10), expected.mid(10));
}

}  // namespace
}  // namespace hcalc
