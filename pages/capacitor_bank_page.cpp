#include "pages/capacitor_bank_page.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kFieldWidth = 120;
constexpr std::array<int, 4> kRowTops{24, 56, 88, 120};

// The three columns of the first two output rows: caption left, field left.
constexpr std::array<std::pair<int, int>, 3> kColumns{{{8, 80}, {258, 312}, {484, 570}}};
// The two columns of the last two output rows, whose captions are longer.
constexpr std::pair<int, int> kWideLeft{8, 172};
constexpr std::pair<int, int> kWideRight{418, 570};

// clang-format off
constexpr std::array<const char*, 10> kNormalFields{
    "Text14", "Text15", "Text16", "Text17", "Text18", "Text19", "Text20", "Text67", "Text65", "Text66"};
constexpr std::array<const char*, 10> kDetunedFields{
    "Text25", "Text26", "Text27", "Text28", "Text29", "Text30", "Text31", "Text68", "Text70", "Text69"};
// clang-format on

}  // namespace

CapacitorBankPage::CapacitorBankPage(const PageContext& context, DesignState& design, QWidget* parent)
    : Page(u"TabSheet2"_s, context, parent), m_design(design) {
    QGroupBox* input = addGroup(body(), u"RzGroupBox8"_s, u"输入数据"_s, QRect(16, 8, 553, 129));
    setDesignSize(QSize(785, 481));
    auto inputRow = [&](int row, bool right, const QString& label, const QString& name, const QString& unit) {
        const int labelLeft = right ? 276 : 8;
        const int fieldLeft = right ? 376 : 92;
        return addRow(input, kRowTops[static_cast<std::size_t>(row)], labelLeft, label, name, fieldLeft, kFieldWidth,
                      unit, FieldRole::Input);
    };
    m_text11 = inputRow(0, false, u"电容值"_s, u"Text11"_s, u"（uF）"_s);
    m_text12 = inputRow(1, false, u"电感值"_s, u"Text12"_s, u"（mH）"_s);
    m_text63 = inputRow(2, false, u"现场谐波电流"_s, u"Text63"_s, u"（A）"_s);
    m_text13 = inputRow(0, true, u"现场实际电压"_s, u"Text13"_s, u"（V）"_s);
    m_text24 = inputRow(1, true, u"偏谐振时电感值"_s, u"Text24"_s, u"（mH）"_s);
    m_text64 = inputRow(2, true, u"谐波次数"_s, u"Text64"_s, {});

    m_normal = addOutputGroup(u"RzGroupBox9"_s, u"输出数据(普通)"_s, 144, kNormalFields);
    m_detuned = addOutputGroup(u"RzGroupBox10"_s, u"输出数据(偏谐振时)"_s, 312, kDetunedFields);

    // Stacked right of the input group, level with its rows.
    QPushButton* command6 =
        addButton(body(), u"Command6"_s, u"计算"_s, QRect(585, 32, 105, 0), &CapacitorBankPage::Command6Click);
    QPushButton* command8 =
        addButton(body(), u"Command8"_s, u"偏谐振时计算"_s, QRect(585, 64, 105, 0), &CapacitorBankPage::Command8Click);
    QPushButton* command5 =
        addButton(body(), u"Command5"_s, u"清空"_s, QRect(585, 96, 105, 0), &CapacitorBankPage::Command5Click);

    std::vector<QWidget*> tabChain{m_text11, m_text12, m_text13, m_text63, m_text24, m_text64};
    for (const OutputGroup& g : {m_normal, m_detuned}) {
        tabChain.insert(tabChain.end(), {g.uc, g.iCap, g.qc, g.ul, g.iReactor, g.ql, g.qb, g.qcAll, g.qbAll, g.qh});
    }
    tabChain.insert(tabChain.end(), {command6, command8, command5});
    for (std::size_t i = 1; i < tabChain.size(); ++i) {
        setTabOrder(tabChain[i - 1], tabChain[i]);
    }
}

CapacitorBankPage::OutputGroup CapacitorBankPage::addOutputGroup(const QString& name, const QString& caption, int top,
                                                                 const std::array<const char*, 10>& fieldNames) {
    QGroupBox* group = addGroup(body(), name, caption, QRect(16, top, 753, 161));
    auto row = [&](std::size_t index, std::size_t rowIndex, std::pair<int, int> column, const QString& label,
                   const QString& unit) {
        return addRow(group, kRowTops[rowIndex], column.first, label, QString::fromUtf8(fieldNames[index]),
                      column.second, kFieldWidth, unit, FieldRole::Result);
    };
    OutputGroup g{};
    g.uc = row(0, 0, kColumns[0], u"电容器电压"_s, u"（V）"_s);
    g.iCap = row(1, 0, kColumns[1], u"线 电 流"_s, u"（A）"_s);
    g.qc = row(2, 0, kColumns[2], u"输出无功功率"_s, u"（KVar）"_s);
    g.ul = row(3, 1, kColumns[0], u"电抗器电压"_s, u"（V）"_s);
    g.iReactor = row(4, 1, kColumns[1], u"线 电 流"_s, u"（A）"_s);
    g.ql = row(5, 1, kColumns[2], u"输出无功功率"_s, u"（KVar）"_s);
    g.qb = row(6, 2, kWideLeft, u"电容器组输出无功功率"_s, u"（KVar）"_s);
    g.qcAll = row(7, 2, kWideRight, u"所有电容器输出无功功率"_s, u"（KVar）"_s);
    g.qbAll = row(8, 3, kWideLeft, u"所有电容器组输出无功功率"_s, u"（KVar）"_s);
    g.qh = row(9, 3, kWideRight, u"所有电容器输出谐波容量"_s, u"（KVar）"_s);
    return g;
}

void CapacitorBankPage::takeCapacitance(const QString& text) {
    writeText(m_text11, text);
}

void CapacitorBankPage::takeTunedInductance(const QString& text) {
    writeText(m_text12, text);
}

void CapacitorBankPage::takeDetunedInductance(const QString& text) {
    writeText(m_text24, text);
}

// Each bank: a delta capacitor of C per branch in series with a reactor of L
// in each line, on the line voltage U. Angular frequency written 2 * 3.14 * 50
// for the harmonic reactance and 314 elsewhere, the square root of three 1.732.
CapacitorBankPage::Totals CapacitorBankPage::calculate(const Inputs& in, const OutputGroup& out) const {
    // Harmonic capacity of all capacitors: the harmonic current through the
    // reactance of all n banks at order h. A zero h, n or C is a division by zero.
    const Ext cn = Stored(3 * in.n * in.c);                                // uF
    const Ext xch = Stored(Ext(1000000) / (in.h * 2 * kPi314 * 50 * cn));  // ohm
    const Ext qh = Stored(3 * in.ih * in.ih * xch / 1000);                 // kvar
    write(out.qh, qh);

    const Ext xc = Stored(Ext(1000000) / (314 * in.c * 3));  // ohm, one bank's capacitor, star equivalent
    const Ext xl = Stored(in.l / 1000 * 314);                // ohm
    // At resonance (Xc = XL) a division by zero.
    const Ext i = Stored((in.u / kSqrt3_1732) / (xc - xl));  // A
    const Ext uc = Stored(i * xc * kSqrt3_1732);             // V, line voltage across the capacitor
    const Ext qc = Stored(kSqrt3_1732 * uc * i / 1000);      // kvar
    const Ext qcAll = qc * in.n;
    write(out.uc, uc);
    write(out.iCap, i);
    write(out.qc, qc);
    write(out.qcAll, qcAll);

    const Ext ul = Stored(i * xl);             // V, per phase
    const Ext ql = Stored(3 * ul * i / 1000);  // kvar
    write(out.ul, ul);
    write(out.iReactor, i);
    write(out.ql, ql);

    const Ext qb = Stored(kSqrt3_1732 * in.u * i / 1000);  // kvar
    const Ext qbAll = qb * in.n;
    write(out.qb, qb);
    write(out.qbAll, qbAll);
    return {qbAll, qcAll, qh};
}

void CapacitorBankPage::Command6Click() {
    if (anyEmpty({m_text11, m_text12, m_text13})) {
        notice(u"请先输入数据！"_s);
        return;
    }
    const QString answer = ask(u"请输入电容器组数n"_s);
    const Ext n = readReal(answer);
    const Ext c = readReal(m_text11);
    const Ext l = readReal(m_text12);
    const Ext u = readReal(m_text13);
    const Ext h = readReal(m_text64);
    const Ext ih = readReal(m_text63);
    calculate({n, c, l, u, h, ih}, m_normal);
}

void CapacitorBankPage::Command8Click() {
    // The fields this calculation reads: the detuned inductance, not the tuned one.
    if (anyEmpty({m_text11, m_text24, m_text13})) {
        notice(u"请先输入数据！"_s);
        return;
    }
    const QString answer = ask(u"请输入电容器组数n"_s);
    const Ext n = readReal(answer);
    m_design.pendingBankCount = StoreDouble(n);  // kept even when a later step stops
    const Ext c = readReal(m_text11);
    const Ext l = readReal(m_text24);
    const Ext u = readReal(m_text13);
    const Ext h = readReal(m_text64);
    const Ext ih = readReal(m_text63);
    const Totals totals = calculate({n, c, l, u, h, ih}, m_detuned);

    if (FilterBankRow* row = m_design.table.rowFor(m_design.currentOrder)) {
        // All rounded before any is stored, so that a stop leaves the row as it was.
        const double banksOutputKvar = StoreDouble(totals.banksOutputKvar);
        const double capacitorsOutputKvar = StoreDouble(totals.capacitorsOutputKvar);
        const double harmonicKvar = StoreDouble(totals.harmonicKvar);
        row->bankCount = m_design.pendingBankCount;
        row->banksOutputKvar = banksOutputKvar;
        row->capacitorsOutputKvar = capacitorsOutputKvar;
        row->harmonicKvar = harmonicKvar;
    }
}

void CapacitorBankPage::Command5Click() {
    std::vector<QLineEdit*> fields{m_text11, m_text12, m_text13};
    fields.insert(fields.end(), {m_normal.uc, m_normal.iCap, m_normal.qc, m_normal.ul, m_normal.iReactor, m_normal.ql,
                                 m_normal.qb});  // Text14 to Text20
    fields.insert(fields.end(), {m_text24, m_detuned.uc, m_detuned.iCap, m_detuned.qc, m_detuned.ul, m_detuned.iReactor,
                                 m_detuned.ql, m_detuned.qb});  // Text24 to Text31
    fields.insert(fields.end(), {m_text63, m_text64, m_normal.qbAll, m_normal.qh, m_normal.qcAll, m_detuned.qcAll,
                                 m_detuned.qh, m_detuned.qbAll});  // Text63 to Text70
    for (QLineEdit* field : fields) {
        field->clear();
    }
    m_text11->setFocus();
}

}  // namespace hcalc
