#include "pages/capacitor_bank_page.h"

#include "core/capacitor_bank.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// clang-format off
constexpr std::array<const char*, 10> kNormalFields{
    "Text14", "Text15", "Text16", "Text17", "Text18", "Text19", "Text20", "Text67", "Text65", "Text66"};
constexpr std::array<const char*, 10> kDetunedFields{
    "Text25", "Text26", "Text27", "Text28", "Text29", "Text30", "Text31", "Text68", "Text70", "Text69"};
// clang-format on

}  // namespace

CapacitorBankPage::CapacitorBankPage(const PageContext& context, DesignState& design, QWidget* parent)
    : Page(u"TabSheet2"_s, context, parent), m_design(design) {
    QGroupBox* input = addGroup(body(), u"RzGroupBox8"_s, u"输入数据"_s, QSize(553, 129));
    const Form form = addForm(input, {80, 96});
    m_capacitance = addRow(form, 0, 0, u"电容值"_s, u"Text11"_s, u"（uF）"_s, FieldRole::Input);
    m_tunedInductance = addRow(form, 1, 0, u"电感值"_s, u"Text12"_s, u"（mH）"_s, FieldRole::Input);
    m_harmonicCurrent = addRow(form, 2, 0, u"现场谐波电流"_s, u"Text63"_s, u"（A）"_s, FieldRole::Input);
    m_siteVoltage = addRow(form, 0, 1, u"现场实际电压"_s, u"Text13"_s, u"（V）"_s, FieldRole::Input);
    m_detunedInductance = addRow(form, 1, 1, u"偏谐振时电感值"_s, u"Text24"_s, u"（mH）"_s, FieldRole::Input);
    m_harmonicOrder = addRow(form, 2, 1, u"谐波次数"_s, u"Text64"_s, {}, FieldRole::Input);

    m_normal = addOutputGroup(u"RzGroupBox9"_s, u"输出数据(普通)"_s, kNormalFields);
    m_detuned = addOutputGroup(u"RzGroupBox10"_s, u"输出数据(偏谐振时)"_s, kDetunedFields);

    // Stacked right of the input group, level with its rows.
    QPushButton* command6 = addButton(body(), u"Command6"_s, u"计算"_s, &CapacitorBankPage::Command6Click, 105);
    QPushButton* command8 = addButton(body(), u"Command8"_s, u"偏谐振时计算"_s, &CapacitorBankPage::Command8Click, 105);
    QPushButton* command5 = addButton(body(), u"Command5"_s, u"清空"_s, &CapacitorBankPage::Command5Click, 105);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(input);
    top->addLayout(addButtonLine(QBoxLayout::TopToBottom, 24, 7, {command6, command8, command5}));
    top->addStretch();
    auto* page = new QVBoxLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->setSpacing(7);
    page->addLayout(top);
    page->addWidget(m_normal.group, 0, Qt::AlignLeft);
    page->addWidget(m_detuned.group, 0, Qt::AlignLeft);
    page->addStretch();

    std::vector<QWidget*> tabChain{m_capacitance,     m_tunedInductance,   m_siteVoltage,
                                   m_harmonicCurrent, m_detunedInductance, m_harmonicOrder};
    for (const OutputGroup& g : {m_normal, m_detuned}) {
        tabChain.insert(tabChain.end(), {g.uc, g.iCap, g.qc, g.ul, g.iReactor, g.ql, g.qb, g.qcAll, g.qbAll, g.qh});
    }
    tabChain.insert(tabChain.end(), {command6, command8, command5});
    setTabChain(tabChain);
    nameFieldsUniquely();
}

CapacitorBankPage::OutputGroup CapacitorBankPage::addOutputGroup(const QString& name, const QString& caption,
                                                                 const std::array<const char*, 10>& fieldNames) {
    QGroupBox* group = addGroup(body(), name, caption, QSize(753, 161));
    auto* blocks = new QVBoxLayout(group);
    blocks->setContentsMargins(8, 6, 8, 8);
    blocks->setSpacing(7);
    // Capacitor and reactor rows in three columns, then the totals, whose captions are longer, in two.
    const Form parts = addForm(group, {68, 50, 82});
    const Form totals = addForm(group, {160, 148});
    const auto field = [&](std::size_t index) { return QString::fromUtf8(fieldNames[index]); };
    OutputGroup g{};
    g.group = group;
    g.uc = addRow(parts, 0, 0, u"电容器电压"_s, field(0), u"（V）"_s, FieldRole::Result);
    g.iCap = addRow(parts, 0, 1, u"线 电 流"_s, field(1), u"（A）"_s, FieldRole::Result);
    g.qc = addRow(parts, 0, 2, u"输出无功功率"_s, field(2), u"（KVar）"_s, FieldRole::Result);
    g.ul = addRow(parts, 1, 0, u"电抗器电压"_s, field(3), u"（V）"_s, FieldRole::Result);
    g.iReactor = addRow(parts, 1, 1, u"线 电 流"_s, field(4), u"（A）"_s, FieldRole::Result);
    g.ql = addRow(parts, 1, 2, u"输出无功功率"_s, field(5), u"（KVar）"_s, FieldRole::Result);
    g.qb = addRow(totals, 0, 0, u"电容器组输出无功功率"_s, field(6), u"（KVar）"_s, FieldRole::Result);
    g.qcAll = addRow(totals, 0, 1, u"所有电容器输出无功功率"_s, field(7), u"（KVar）"_s, FieldRole::Result);
    g.qbAll = addRow(totals, 1, 0, u"所有电容器组输出无功功率"_s, field(8), u"（KVar）"_s, FieldRole::Result);
    g.qh = addRow(totals, 1, 1, u"所有电容器输出谐波容量"_s, field(9), u"（KVar）"_s, FieldRole::Result);
    // The captions of the capacitor and the reactor rows are alike; their row tells them apart.
    g.iCap->setAccessibleName(u"电容器线电流"_s);
    g.qc->setAccessibleName(u"电容器输出无功功率"_s);
    g.iReactor->setAccessibleName(u"电抗器线电流"_s);
    g.ql->setAccessibleName(u"电抗器输出无功功率"_s);
    return g;
}

void CapacitorBankPage::takeCapacitance(const QString& text) {
    writeText(m_capacitance, text);
}

void CapacitorBankPage::takeTunedInductance(const QString& text) {
    writeText(m_tunedInductance, text);
}

void CapacitorBankPage::takeDetunedInductance(const QString& text) {
    writeText(m_detunedInductance, text);
}

CapacitorBankPage::Inputs CapacitorBankPage::readInputs(Ext banks, const QLineEdit* inductance) const {
    const Ext c = readReal(m_capacitance);
    const Ext l = readReal(inductance);
    const Ext u = readReal(m_siteVoltage);
    const Ext h = readReal(m_harmonicOrder);
    const Ext ih = readReal(m_harmonicCurrent);
    return {banks, c, l, u, h, ih};
}

CapacitorBankPage::Totals CapacitorBankPage::calculate(const Inputs& in, const OutputGroup& out) const {
    const Ext qh = BanksHarmonicKvar(in.n, in.c, in.h, in.ih);
    write(out.qh, qh);

    const Ext xc = BankCapacitorReactance(in.c);
    const Ext xl = BankReactorReactance(in.l);
    const Ext i = BankLineCurrent(in.u, xc, xl);
    const Ext uc = CapacitorVoltage(i, xc);
    const Ext qc = CapacitorKvar(uc, i);
    const Ext qcAll = AllBanks(qc, in.n);
    write(out.uc, uc);
    write(out.iCap, i);
    write(out.qc, qc);
    write(out.qcAll, qcAll);

    const Ext ul = ReactorVoltage(i, xl);
    const Ext ql = ReactorKvar(ul, i);
    write(out.ul, ul);
    write(out.iReactor, i);
    write(out.ql, ql);

    const Ext qb = BankKvar(in.u, i);
    const Ext qbAll = AllBanks(qb, in.n);
    write(out.qb, qb);
    write(out.qbAll, qbAll);
    return {qbAll, qcAll, qh};
}

void CapacitorBankPage::Command6Click() {
    requireFilled({m_capacitance, m_tunedInductance, m_siteVoltage}, u"请先输入数据！"_s);
    const Ext n = readReal(ask(u"请输入电容器组数n"_s));
    calculate(readInputs(n, m_tunedInductance), m_normal);
    Q_EMIT siteVoltageHandedOver(m_siteVoltage->text());
}

void CapacitorBankPage::Command8Click() {
    // The fields this calculation reads: the detuned inductance, not the tuned one.
    requireFilled({m_capacitance, m_detunedInductance, m_siteVoltage}, u"请先输入数据！"_s);
    const Ext n = readReal(ask(u"请输入电容器组数n"_s));
    m_design.pendingBankCount = StoreDouble(n);  // kept even when a later step stops
    const Totals totals = calculate(readInputs(n, m_detunedInductance), m_detuned);

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
    Q_EMIT siteVoltageHandedOver(m_siteVoltage->text());
}

void CapacitorBankPage::Command5Click() {
    std::vector<QLineEdit*> fields{m_capacitance, m_tunedInductance, m_siteVoltage};
    fields.insert(fields.end(), {m_normal.uc, m_normal.iCap, m_normal.qc, m_normal.ul, m_normal.iReactor, m_normal.ql,
                                 m_normal.qb});  // Text14 to Text20
    fields.insert(fields.end(), {m_detunedInductance, m_detuned.uc, m_detuned.iCap, m_detuned.qc, m_detuned.ul,
                                 m_detuned.iReactor, m_detuned.ql, m_detuned.qb});  // Text24 to Text31
    fields.insert(fields.end(), {m_harmonicCurrent, m_harmonicOrder, m_normal.qbAll, m_normal.qh, m_normal.qcAll,
                                 m_detuned.qcAll, m_detuned.qh, m_detuned.qbAll});  // Text63 to Text70
    clearFields(fields, m_capacitance);
}

}  // namespace hcalc
