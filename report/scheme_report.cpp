#include "report/scheme_report.h"

#include "core/numbers.h"

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

QStringList SchemeReport(const SiteTexts& site, const FilterBankTable& table, QChar decimalSeparator) {
    const QString rule = u"---------------------------------------------------"_s;
    const auto number = [decimalSeparator](double value) { return FormatReal(value, decimalSeparator); };

    QStringList lines;
    lines.reserve(kSchemeReportLineCount);
    lines << u"1. 现场信息："_s << rule << u"现场的有功功率为："_s + site.activePower + u"(KW)"_s
          << u"目前功率因数为："_s + site.presentPowerFactor << u"目标功率因数为："_s + site.targetPowerFactor
          << u"相电压为："_s + site.phaseVoltage + u"(V)"_s;
    for (std::size_t i = 0; i < kFilterOrders.size(); ++i) {
        lines << u"%1次谐波电流为："_s.arg(kFilterOrders[i]) + site.harmonicCurrents[i] + u"(A)"_s;
    }
    lines << rule << u"2. 方案："_s;

    // A section for each row, headed by the order of its position.
    for (std::size_t i = 0; i < kFilterOrders.size(); ++i) {
        const FilterBankRow& row = table.rows()[i];
        lines << u"%1次滤波器组"_s.arg(kFilterOrders[i]) << u"A. 选用的三角形连接电容器："_s
              << u"容量为："_s + number(row.ratedKvar) + u"(KVar)；"_s + u"额定电压为："_s + number(row.ratedVoltage) +
                     u"(V)"_s
              << u"电容值为："_s + number(row.capacitanceUf) + u"(uF)；"_s + u"额定电流为："_s +
                     number(row.ratedCurrent) + u"(A)"_s
              << u"B. 对应的电抗器："_s
              << u"电感值为："_s + number(row.inductanceMh) + u"(mH)；"_s + u"电抗率为："_s +
                     number(row.reactanceRatioPct) + u"%"_s
              << u"C. 以上组合共："_s + number(row.bankCount) + u"组"_s << u"D. 效果检验："_s
              << u"全部电容器组投切上去后，所有电容器组输出的无功功率为："_s + number(row.banksOutputKvar) + u"(KVar)"_s
              << u"所有电容器输出的无功功率为："_s + number(row.capacitorsOutputKvar) + u"(KVar)，谐波容量为："_s +
                     number(row.harmonicKvar) + u"(KVar)"_s
              << rule;
    }
    return lines;
}

}  // namespace hcalc
