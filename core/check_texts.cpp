#include "core/check_texts.h"

#include "core/extended.h"
#include "core/filter_orders.h"
#include "core/numbers.h"

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::array<double, 4> kDutyLimits{kIeee18Limits.rmsVoltagePct, kIeee18Limits.peakVoltagePct,
                                            kIeee18Limits.rmsCurrentPct, kIeee18Limits.reactivePowerPct};
constexpr std::size_t kFirstDutyRow = 1;

// "3、5、7、11、13"
QString JoinedOrders(const std::vector<int>& orders) {
    QStringList texts;
    for (int h : orders) {
        texts << QString::number(h);
    }
    return texts.join(u"、"_s);
}

// A value as the program shows an input: up to 15 significant digits, "16.6666666666667", "5".
QString Plain(double value, QChar separator) {
    return FormatReal(Ext(value), separator);
}

QString Percent(double value) {
    return FormatShown(value, kShownLimitPercent, u'.') + u"%"_s;
}

// "<20", "20～50", ..., "≥1000": a row of IEEE 519 Table 2 as it names its range of I_SC / I_L.
QString IeeeCurrentRowName(std::size_t row) {
    const auto bound = [](std::size_t r) { return QString::number(kIeee519Table2[r].minRatio); };
    if (row == 0) {
        return u"<"_s + bound(1);
    }
    if (row + 1 == kIeee519Table2.size()) {
        return u"≥"_s + bound(row);
    }
    return bound(row) + u"～"_s + bound(row + 1);
}

// "≤1 kV", "1～69 kV", "69～161 kV", ">161 kV": a row of IEEE 519 Table 1.
QString IeeeVoltageRowName(std::size_t row) {
    const auto bound = [](std::size_t r) { return QString::number(kIeee519Table1[r].maxKv); };
    if (row == 0) {
        return u"≤"_s + bound(0) + u" kV"_s;
    }
    if (row + 1 == kIeee519Table1.size()) {
        return u">"_s + bound(row - 1) + u" kV"_s;
    }
    return bound(row - 1) + u"～"_s + bound(row) + u" kV"_s;
}

// What fails first: "5次谐波电流", "电压总谐波畸变率THDu".
QString FailureName(const ComplianceCheck& check, const ComplianceFailure& failure) {
    const bool current = failure.quantity == Quantity::Current;
    if (failure.row < 4) {
        return OrderName(kFilterOrders[failure.row]) + (current ? u"谐波电流"_s : u"谐波电压"_s);
    }
    if (current) {
        return check.code == GridCode::Ieee519 ? u"总需量畸变率TDD"_s : u"电流方和根"_s;
    }
    return u"电压总谐波畸变率THDu"_s;
}

QStringList GbBasis(const GridCodeInputs& in, const ComplianceCheck& check, QChar separator) {
    const GbCurrentAllowance& pcc = kGb14549Table2[check.currentTableRow.value_or(0)];
    const GbVoltageLimit& own = kGb14549Table1[check.voltageTableRow];
    QStringList basis;
    basis << u"GB/T 14549-1993 表2：公共连接点%1 kV，基准短路容量Sk2 = %2 MVA，最小短路容量Sk1 = %3 MVA，"
             u"允许值按附录B换算：Ih = (Sk1/Sk2)·Ihp"_s.arg(FormatNominalKv(pcc.nominalKv, separator),
                                                            Plain(pcc.baseMva, separator),
                                                            Plain(in.gb.minShortCircuitMva, separator));
    if (in.gb.share) {
        basis << u"附录C：用户协议容量Si = %1 MVA，供电设备容量St = %2 MVA，Ihi = Ih·(Si/St)^(1/α)，"
                 u"α = 1.1、1.2、1.4、1.8"_s.arg(Plain(in.gb.share->agreedMva, separator),
                                                 Plain(in.gb.share->supplyMva, separator));
    } else {
        basis << u"Si与St未填：取公共连接点的全部允许值（Si = St）"_s;
    }
    if (check.currentTableRow == check.voltageTableRow) {
        basis << u"公共连接点与接入点同一电压等级：电流不折算"_s;
    } else {
        basis << u"接入点的电流按 U/UPCC = %1 折算到公共连接点"_s.arg(Plain(check.pccCurrentFactor, separator));
    }
    basis << u"表1：接入点%1 kV，各奇次谐波电压含有率限值%2，THDu限值%3"_s.arg(
        FormatNominalKv(own.nominalKv, separator), Percent(own.oddPct), Percent(own.thdPct));
    basis << u"合计：电流为各次电流的方和根（标准不设限值），电压为总谐波畸变率THDu；电流允许值取三位有效数字"_s;
    return basis;
}

QStringList IeeeBasis(const GridCodeInputs& in, const ComplianceCheck& check, QChar separator) {
    QStringList basis;
    if (check.currentTableRow) {
        const IeeeCurrentLimit& row = kIeee519Table2[*check.currentTableRow];
        basis << u"IEEE Std 519-2014 表2（120 V～69 kV）：ISC = %1 A，IL = %2 A，ISC/IL = %3，取“%4”一行"
                 u"（3≤h<11：%5，11≤h<17：%6，TDD：%7）"_s.arg(
                     FormatShown(check.shortCircuitCurrent, kShownShortCircuit, separator),
                     Plain(in.maxDemandCurrent, separator),
                     FormatShown(check.shortCircuitRatio, kShownRatio, separator),
                     IeeeCurrentRowName(*check.currentTableRow), Percent(row.below11Pct), Percent(row.from11To17Pct),
                     Percent(row.tddPct));
    } else {
        basis << u"接入点电压高于69 kV：IEEE Std 519-2014 表2只适用于120 V～69 kV，更高电压的电流限值"
                 u"本页未收录，只校验电压，电流仅列出"_s;
    }
    const IeeeVoltageLimit& own = kIeee519Table1[check.voltageTableRow];
    basis << u"表1：接入点%1，各次谐波电压限值%2，THDu限值%3"_s.arg(IeeeVoltageRowName(check.voltageTableRow),
                                                                    Percent(own.individualPct), Percent(own.thdPct));
    basis << u"合计：电流为总需量畸变率TDD = √(ΣIh²)/IL，电压为总谐波畸变率THDu"_s;
    return basis;
}

ShownCell Marked(const QString& text, bool over) {
    return {over ? text + u" 超限"_s : text, over};
}

}  // namespace

const std::array<const char*, kCheckResultRows> kCheckResultCaptions{
    "调谐次数ht",          "电容器电压有效值（%）", "电容器电压峰值（%）",   "电容器电流有效值（%）",
    "电容器无功功率（%）", "电容器组分流（%）",     "无补偿时谐波电压（V）", "有补偿时谐波电压（V）",
};

QString OrderName(int order) {
    return u"%1次"_s.arg(order);
}

QString CheckRowLimit(std::size_t row) {
    if (row < kFirstDutyRow || row >= kFirstDutyRow + kDutyLimits.size()) {
        return {};
    }
    return FormatDecimals(kDutyLimits[row - kFirstDutyRow], 0, u'.') + u"%"_s;
}

QString ResonancesCaption() {
    return u"%1～%2次间的并联谐振次数："_s.arg(kScanFirstOrder).arg(kScanLastOrder);
}

QString DistortionCaption() {
    return u"接入点电压总谐波畸变率THDu："_s;
}

ShownResonanceCheck ShowResonanceCheck(const ResonanceInputs& in, const ResonanceCheck& check, QChar decimalSeparator) {
    const QChar separator = decimalSeparator;
    ShownResonanceCheck shown;
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        if (!in.branches[j].present) {
            shown.cells[0][j] = {u"无支路"_s};
            for (std::size_t k = 0; k < kDutyLimits.size(); ++k) {
                shown.cells[kFirstDutyRow + k][j] = {u"—"_s};
            }
        } else {
            const double tuning = check.branches[j].tuningOrder;
            shown.cells[0][j] = {tuning > 0 ? FormatCell(tuning, 2, separator) : u"无电抗器"_s};
            const CapacitorDuty& d = check.duties[j];
            const std::array<double, 4> duty{d.rmsVoltagePct, d.peakVoltagePct, d.rmsCurrentPct, d.reactivePowerPct};
            for (std::size_t k = 0; k < duty.size(); ++k) {
                shown.cells[kFirstDutyRow + k][j] =
                    Marked(FormatCell(duty[k], 1, separator), AsShown(duty[k], 1) > kDutyLimits[k]);
            }
        }
        shown.cells[5][j] = {FormatCell(check.bankSharePct[j], 1, separator)};
        shown.cells[6][j] = {FormatSignificant(check.voltageWithoutBank[j], 4, separator)};
        shown.cells[7][j] = {FormatSignificant(check.voltageWithBank[j], 4, separator)};
    }

    // Every resonance is listed; one within 10 % of a characteristic order is
    // warned about only where the bank amplifies that order's harmonics.
    QStringList orders;
    QStringList warned;
    QStringList quiet;
    for (const ScanPoint& p : check.resonances) {
        orders << FormatDecimals(p.order, 2, separator);
        const std::vector<int> near = NearbyCharacteristicOrders(p.order);
        if (!near.empty()) {
            (Amplifies(p) ? warned : quiet) << u"%1次靠近%2次"_s.arg(orders.back(), JoinedOrders(near));
        }
    }
    shown.resonances = ResonancesCaption() + (orders.isEmpty() ? u"无"_s : orders.join(u"、"_s));
    // The warning; beside it what it is given for and the resonances near a
    // characteristic order where the bank amplifies nothing.
    const QString unwarned =
        quiet.isEmpty() ? QString() : quiet.join(u"，"_s) + u"谐波，但该处|Z|不大于电网|Z|，不警告。"_s;
    shown.warned = !warned.isEmpty();
    if (shown.warned) {
        shown.warning = u"警告："_s + warned.join(u"，"_s) + u"谐波（±10%以内）。"_s;
        shown.warningBasis = u"（该处|Z|大于电网|Z|）"_s + unwarned;
    } else if (!quiet.isEmpty()) {
        shown.warning = unwarned;
    } else {
        const std::vector<int> characteristic(kCharacteristicOrders.begin(), kCharacteristicOrders.end());
        shown.warning = u"谐振点均不在%1次谐波的±10%以内。"_s.arg(JoinedOrders(characteristic));
    }
    shown.distortion =
        DistortionCaption() + u"无电容器组 %1%，有电容器组 %2%"_s.arg(FormatCell(check.thdWithoutBankPct, 1, separator),
                                                                      FormatCell(check.thdWithBankPct, 1, separator));
    return shown;
}

QString GridCodeName(GridCode code) {
    return code == GridCode::Gb14549 ? u"GB/T 14549-1993"_s : u"IEEE Std 519-2014"_s;
}

ShownCompliance ShowCompliance(const GridCodeInputs& in, const ComplianceCheck& check, QChar decimalSeparator) {
    const bool gb = check.code == GridCode::Gb14549;
    ShownCompliance shown;
    shown.currentTitle = gb ? u"注入公共连接点的谐波电流（A）"_s : u"谐波电流（占IL的%）"_s;
    shown.voltageTitle = u"接入点谐波电压（%）"_s;
    shown.headers = {u"无电容器组"_s, u"有电容器组"_s, gb ? u"允许值"_s : u"限值"_s,
                     u"无电容器组"_s, u"有电容器组"_s, u"限值"_s};
    for (std::size_t r = 0; r < shown.rowCaptions.size(); ++r) {
        const ComplianceRow& row = check.rows[r];
        shown.rowCaptions[r] = r < kFilterOrders.size() ? OrderName(row.order) : u"合计"_s;
        std::size_t column = 0;
        for (const ComplianceFigure* figure : {&row.current, &row.voltage}) {
            const ShownFigure f = ShowFigure(*figure, decimalSeparator);
            shown.cells[r][column++] = Marked(f.withoutBank, figure->exceededWithoutBank);
            shown.cells[r][column++] = Marked(f.withBank, figure->exceededWithBank);
            shown.cells[r][column++] = {figure->limited ? f.limit : u"—"_s};
        }
    }
    shown.basis = gb ? GbBasis(in, check, decimalSeparator) : IeeeBasis(in, check, decimalSeparator);
    shown.complies = check.complies();
    const QString with =
        check.firstFailure ? u"不符合（首先超限：%1）"_s.arg(FailureName(check, *check.firstFailure)) : u"符合"_s;
    const QString without = check.firstFailureWithoutBank
                                ? u"不符合（首先超限：%1）"_s.arg(FailureName(check, *check.firstFailureWithoutBank))
                                : u"符合"_s;
    shown.verdict = u"结论（%1）：有电容器组 %2；无电容器组 %3。"_s.arg(GridCodeName(check.code), with, without);
    return shown;
}

}  // namespace hcalc
