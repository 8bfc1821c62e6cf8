#include "pages/capacitor_reactor_page.h"

#include "core/filter_branch.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The captions of every form of the page: 7 characters a line, as designed.
constexpr int kCaptionWidth = 92;

const QString kNameplateMissing = u"请输入额定电容或额定电压！"_s;

}  // namespace

CapacitorReactorPage::CapacitorReactorPage(const PageContext& context, DesignState& design, QWidget* parent)
    : Page(u"TabSheet1"_s, context, parent), m_design(design) {
    // The capacitor group left: its inputs, the two buttons side by side, its outputs.
    QGroupBox* capacitor =
        addGroup(body(), u"RzGroupBox1"_s, u"电容器计算"_s, QSize(313, 433), CaptionStyle::NavyLarge);
    QGroupBox* capacitorInput = addGroup(capacitor, u"RzGroupBox2"_s, u"输入数据"_s, QSize(297, 121));
    QGroupBox* capacitorOutput = addGroup(capacitor, u"RzGroupBox3"_s, u"输出数据"_s, QSize(297, 161));
    const Form input = addForm(capacitorInput, {kCaptionWidth});
    m_ratedKvar = addRow(input, 0, 0, u"三角形连接三相电容器额定容量"_s, u"Text1"_s, u"（KVAR）"_s, FieldRole::Input);
    m_ratedVoltage = addRow(input, 1, 0, u"额定电压"_s, u"Text2"_s, u"（V）"_s, FieldRole::Input);
    const Form output = addForm(capacitorOutput, {kCaptionWidth});
    m_capacitance = addRow(output, 0, 0, u"电容值"_s, u"Text3"_s, u"（uF）"_s, FieldRole::Result);
    m_ratedCurrent = addRow(output, 1, 0, u"额定电流"_s, u"Text41"_s, u"（A）"_s, FieldRole::Result);
    m_reactance = addRow(output, 2, 0, u"基波作用下电容阻抗"_s, u"Text4"_s, u"（欧姆）"_s, FieldRole::Result);
    m_harmonicReactance =
        addRow(output, 3, 0, u"h次谐波作用下电容阻抗"_s, u"Text5"_s, u"（欧姆）"_s, FieldRole::Result);
    QPushButton* command1 = addButton(capacitor, u"Command1"_s, u"计算"_s, &CapacitorReactorPage::Command1Click, 81);
    QPushButton* command3 = addButton(capacitor, u"Command3"_s, u"清空"_s, &CapacitorReactorPage::Command3Click, 81);
    auto* capacitorButtons = new QHBoxLayout;
    capacitorButtons->setSpacing(31);
    capacitorButtons->addStretch();
    capacitorButtons->addWidget(command1);
    capacitorButtons->addWidget(command3);
    capacitorButtons->addStretch();
    auto* capacitorColumn = new QVBoxLayout(capacitor);
    capacitorColumn->setContentsMargins(8, 4, 8, 8);
    capacitorColumn->setSpacing(14);
    capacitorColumn->addWidget(capacitorInput);
    capacitorColumn->addLayout(capacitorButtons);
    capacitorColumn->addWidget(capacitorOutput);
    capacitorColumn->addStretch();

    // The reactor group right: its inputs with the three buttons stacked beside them, then the tuned and the
    // detuned outputs.
    QGroupBox* reactor = addGroup(body(), u"RzGroupBox4"_s, u"电抗器计算"_s, QSize(425, 433), CaptionStyle::NavyLarge);
    QGroupBox* reactorInput = addGroup(reactor, u"RzGroupBox5"_s, u"输入数据"_s, QSize(289, 97));
    QGroupBox* tuned = addGroup(reactor, u"RzGroupBox6"_s, u"输出数据(电感偏谐振率为0)"_s, QSize(289, 137));
    m_detunedGroup = addGroup(reactor, u"RzGroupBox7"_s, u"电感偏谐振"_s, QSize(289, 137));
    const Form reactorForm = addForm(reactorInput, {kCaptionWidth});
    m_reactorRatedKvar =
        addRow(reactorForm, 0, 0, u"三角形连接三相电容器额定容量"_s, u"Text6"_s, u"（KVAR）"_s, FieldRole::Input);
    m_reactorRatedVoltage = addRow(reactorForm, 1, 0, u"额定电压"_s, u"Text7"_s, u"（V）"_s, FieldRole::Input);
    const Form tunedForm = addForm(tuned, {kCaptionWidth});
    m_tunedReactance = addRow(tunedForm, 0, 0, u"相应的电感的感抗"_s, u"Text8"_s, u"（欧姆）"_s, FieldRole::Result);
    m_tunedInductance = addRow(tunedForm, 1, 0, u"电感值"_s, u"Text9"_s, u"（mH）"_s, FieldRole::Result);
    m_tunedRatio = addRow(tunedForm, 2, 0, u"电抗率"_s, u"Text10"_s, {}, FieldRole::PercentResult);
    const Form detunedForm = addForm(m_detunedGroup, {kCaptionWidth});
    m_detunedReactance =
        addRow(detunedForm, 0, 0, u"相应的电感的感抗"_s, u"Text21"_s, u"（欧姆）"_s, FieldRole::Result);
    m_detunedInductance = addRow(detunedForm, 1, 0, u"电感值"_s, u"Text22"_s, u"（mH）"_s, FieldRole::Result);
    m_detunedRatio = addRow(detunedForm, 2, 0, u"电抗率"_s, u"Text23"_s, {}, FieldRole::PercentResult);
    QPushButton* command4 = addButton(reactor, u"Command4"_s, u"计算"_s, &CapacitorReactorPage::Command4Click, 105);
    m_command7 = addButton(reactor, u"Command7"_s, u"偏谐振率下计算"_s, &CapacitorReactorPage::Command7Click, 105);
    keepWithDesign({m_detunedGroup, m_command7});  // the caption names the last E; the button waits for a tuned reactor
    m_command7->setEnabled(false);                 // a detuned reactor needs a tuned one first
    QPushButton* command2 = addButton(reactor, u"Command2"_s, u"清空"_s, &CapacitorReactorPage::Command2Click, 105);
    auto* reactorGrid = new QGridLayout(reactor);
    reactorGrid->setContentsMargins(8, 4, 8, 8);
    reactorGrid->setHorizontalSpacing(7);
    reactorGrid->setVerticalSpacing(14);
    reactorGrid->addWidget(reactorInput, 0, 0);
    reactorGrid->addLayout(addButtonLine(QBoxLayout::TopToBottom, 8, 7, {command4, m_command7, command2}), 0, 1);
    reactorGrid->addWidget(tuned, 1, 0);
    reactorGrid->addWidget(m_detunedGroup, 2, 0);
    reactorGrid->setRowStretch(3, 1);

    auto* page = new QGridLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->setHorizontalSpacing(7);
    page->addWidget(capacitor, 0, 0);
    page->addWidget(reactor, 0, 1);
    page->setColumnStretch(2, 1);
    page->setRowStretch(1, 1);

    const std::vector<QWidget*> tabChain{m_ratedKvar,
                                         m_ratedVoltage,
                                         m_capacitance,
                                         m_ratedCurrent,
                                         m_reactance,
                                         m_harmonicReactance,
                                         command1,
                                         command3,
                                         m_reactorRatedKvar,
                                         m_reactorRatedVoltage,
                                         m_tunedReactance,
                                         m_tunedInductance,
                                         m_tunedRatio,
                                         m_detunedReactance,
                                         m_detunedInductance,
                                         m_detunedRatio,
                                         command4,
                                         m_command7,
                                         command2};
    setTabChain(tabChain);
    nameFieldsUniquely();
}

void CapacitorReactorPage::writeReactor(const ReactorFields& fields, Ext reactance, Ext inductanceMh,
                                        Ext ratioPct) const {
    write(fields.reactance, reactance);
    write(fields.inductance, inductanceMh);
    writeText(fields.ratio, format(ratioPct) + u"%"_s);
}

void CapacitorReactorPage::Command1Click() {
    requireFilled({m_ratedKvar, m_ratedVoltage}, kNameplateMissing);
    const Ext q = readReal(m_ratedKvar);     // kvar
    const Ext u = readReal(m_ratedVoltage);  // V
    if (u == 0) {
        // No capacitance without a rated voltage: said once, and nothing is
        // shown, copied or stored.
        notice(u"额定电压不可为0"_s);
        return;
    }
    write(m_capacitance, BranchCapacitanceUf(q, u));
    const Ext xc = BranchReactance(q, u);
    write(m_reactance, xc);
    write(m_ratedCurrent, RatedCurrent(u, xc));
    const std::int32_t h = readInteger(ask(u"请输入谐波次数h"_s));
    write(m_harmonicReactance, HarmonicReactance(xc, h));

    writeText(m_reactorRatedKvar, m_ratedKvar->text());
    writeText(m_reactorRatedVoltage, m_ratedVoltage->text());
    Q_EMIT capacitanceHandedOver(m_capacitance->text());

    if (FilterBankRow* row = m_design.table.rowFor(h)) {
        // The figures as the fields show them, at most 15 digits; all read
        // before any is stored, so that a stop leaves the row as it was.
        const double ratedKvar = StoreDouble(readReal(m_ratedKvar));
        const double ratedVoltage = StoreDouble(readReal(m_ratedVoltage));
        const double capacitanceUf = StoreDouble(readReal(m_capacitance));
        const double ratedCurrent = StoreDouble(readReal(m_ratedCurrent));
        row->order = h;
        row->ratedKvar = ratedKvar;
        row->ratedVoltage = ratedVoltage;
        row->capacitanceUf = capacitanceUf;
        row->ratedCurrent = ratedCurrent;
    }
}

void CapacitorReactorPage::Command3Click() {
    clearFields({m_ratedKvar, m_ratedVoltage, m_capacitance, m_reactance, m_harmonicReactance, m_ratedCurrent},
                m_ratedKvar);
}

void CapacitorReactorPage::Command4Click() {
    m_command7->setEnabled(true);
    m_design.currentOrder = 0;
    requireFilled({m_reactorRatedKvar, m_reactorRatedVoltage}, kNameplateMissing);
    const Ext q = readReal(m_reactorRatedKvar);     // kvar
    const Ext u = readReal(m_reactorRatedVoltage);  // V
    if (u == 0) {
        notice(u"额定电压不可为0"_s);
    } else {
        const std::int32_t h = readInteger(ask(u"请输入所需要滤除的谐波次数h"_s));
        m_design.currentOrder = h;
        const Ext xc = BranchReactance(q, u);
        const Ext xl = TunedReactorReactance(xc, h);
        const Ext l = ReactorInductanceMh(xl);
        const Ext ratioPct = TunedReactanceRatioPct(xl, xc);
        writeReactor({m_tunedReactance, m_tunedInductance, m_tunedRatio}, xl, l, ratioPct);
    }
    Q_EMIT tunedInductanceHandedOver(m_tunedInductance->text());
}

void CapacitorReactorPage::Command7Click() {
    m_command7->setEnabled(false);  // once per tuned calculation
    requireFilled({m_reactorRatedKvar, m_reactorRatedVoltage}, kNameplateMissing);
    const Ext q = readReal(m_reactorRatedKvar);     // kvar
    const Ext u = readReal(m_reactorRatedVoltage);  // V
    const Ext l0 = readReal(m_tunedInductance);     // mH, the tuned inductance as the field holds it
    const Ext xc = BranchReactance(q, u);
    const Ext e = readReal(
        ask(u"请输入电感偏谐振率E(-0.02 ～ 0.02)"_s));  // relative detuning; the range in the prompt is advice only
    m_detunedGroup->setTitle(u"在电感偏谐振率E＝"_s + format(e));
    const Ext l = DetunedInductanceMh(l0, e);
    const Ext xl = ReactorReactance(l);
    const Ext ratioPct = DetunedReactanceRatioPct(xl, xc);
    writeReactor({m_detunedReactance, m_detunedInductance, m_detunedRatio}, xl, l, ratioPct);
    Q_EMIT detunedInductanceHandedOver(format(l));

    if (FilterBankRow* row = m_design.table.rowFor(m_design.currentOrder)) {
        const double inductanceMh = StoreDouble(readReal(m_detunedInductance));  // as shown
        const double reactanceRatioPct = StoreDouble(ratioPct);
        row->inductanceMh = inductanceMh;
        row->reactanceRatioPct = reactanceRatioPct;
    }
}

void CapacitorReactorPage::Command2Click() {
    clearFields({m_reactorRatedKvar, m_reactorRatedVoltage, m_tunedReactance, m_tunedInductance, m_tunedRatio,
                 m_detunedReactance, m_detunedInductance, m_detunedRatio});
}

}  // namespace hcalc
