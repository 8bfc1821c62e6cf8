#include "pages/simple_page.h"

#include "core/capacitor_capacity.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kCaptionWidth = 84;       // the capacity groups
constexpr int kRatioCaptionWidth = 68;  // the reactance-ratio group
constexpr int kUnitColumnWidth = 80;    // the units and the space before the buttons

// A capacity group: its fields from the top row down (capacitance, voltage,
// capacity) and its two buttons with their handlers.
struct CapacityDesign {
    const char* group;
    const char* caption;
    std::array<const char*, 3> fields;
    const char* calculate;
    void (SimplePage::*onCalculate)();
    const char* clear;
    void (SimplePage::*onClear)();
};

// clang-format off
constexpr std::array<CapacityDesign, 3> kCapacityGroups{{
    {"RzGroupBox11", "单项电容容量计算",         {"Text32", "Text33", "Text34"},
     "Command9",  &SimplePage::Command9Click,  "Command10", &SimplePage::Command10Click},
    {"RzGroupBox12", "三角连接三相电容容量计算", {"Text37", "Text36", "Text35"},
     "Command12", &SimplePage::Command12Click, "Command11", &SimplePage::Command11Click},
    {"RzGroupBox13", "Y连接三相电容容量计算",    {"Text40", "Text39", "Text38"},
     "Command14", &SimplePage::Command14Click, "Command13", &SimplePage::Command13Click},
}};
// clang-format on

}  // namespace

SimplePage::SimplePage(const PageContext& context, QWidget* parent) : Page(u"TabSheet3"_s, context, parent) {
    const std::array<CapacityGroup*, 3> groups{&m_singlePhase, &m_delta, &m_star};

    auto* capacityColumn = new QVBoxLayout;
    capacityColumn->setSpacing(15);
    std::vector<QWidget*> tabChain;
    for (std::size_t i = 0; i < kCapacityGroups.size(); ++i) {
        const CapacityDesign& d = kCapacityGroups[i];
        QGroupBox* box = addGroup(body(), QString::fromUtf8(d.group), QString::fromUtf8(d.caption), QSize(417, 129));
        const Form form = addForm(box, {kCaptionWidth});
        CapacityGroup& g = *groups[i];
        g.capacitance = addRow(form, 0, 0, u"电容值"_s, QString::fromUtf8(d.fields[0]), u"（uF）"_s, FieldRole::Input);
        g.voltage = addRow(form, 1, 0, u"现场电压"_s, QString::fromUtf8(d.fields[1]), u"（V）"_s, FieldRole::Input);
        g.capacity = addRow(form, 2, 0, u"容量"_s, QString::fromUtf8(d.fields[2]), u"（KVar）"_s, FieldRole::Result);
        QPushButton* calculate = addButton(box, QString::fromUtf8(d.calculate), u"计算"_s, d.onCalculate);
        QPushButton* clear = addButton(box, QString::fromUtf8(d.clear), u"清空"_s, d.onClear);
        // The two buttons stacked right of the rows, level with the first two and clear of the units.
        form.grid->setColumnMinimumWidth(form.gridColumn(0) + 2, kUnitColumnWidth);
        form.grid->addWidget(calculate, 0, form.trailingColumn(), Qt::AlignLeft);
        form.grid->addWidget(clear, 1, form.trailingColumn(), Qt::AlignLeft);
        capacityColumn->addWidget(box);
        // The single-phase group visits its capacity before its voltage.
        if (i == 0) {
            tabChain.insert(tabChain.end(), {g.capacitance, g.capacity, g.voltage});
        } else {
            tabChain.insert(tabChain.end(), {g.capacitance, g.voltage, g.capacity});
        }
        tabChain.insert(tabChain.end(), {calculate, clear});
    }
    capacityColumn->addStretch();

    QGroupBox* ratio = addGroup(body(), u"RzGroupBox23"_s, u"电抗率计算"_s, QSize(313, 217), CaptionStyle::Regular);
    const Form form = addForm(ratio, {kRatioCaptionWidth});
    m_ratioCapacitance = addRow(form, 0, 0, u"电容值"_s, u"T1"_s, u"(uF)"_s, FieldRole::Input);
    m_ratioInductance = addRow(form, 1, 0, u"电感值"_s, u"T2"_s, u"(mH)"_s, FieldRole::Input);
    QPushButton* calculate = addButton(ratio, u"RzBitBtn14"_s, u"计算"_s, &SimplePage::RzBitBtn14Click);
    QPushButton* clear = addButton(ratio, u"RzBitBtn16"_s, u"清空"_s, &SimplePage::RzBitBtn16Click);
    // The buttons side by side under the inputs, from the field column on.
    QBoxLayout* buttons = addButtonLine(QBoxLayout::LeftToRight, 0, 13, {calculate, clear});
    buttons->setContentsMargins(0, 4, 0, 4);
    form.grid->addLayout(buttons, 2, form.gridColumn(0) + 1, 1, 2);
    m_ratio = addRow(form, 3, 0, u"电抗率为"_s, u"T3"_s, {}, FieldRole::PercentResult);
    m_filteredOrder = addRow(form, 4, 0, u"可滤除"_s, u"T4"_s, u"次谐波"_s, FieldRole::Result);
    tabChain.insert(tabChain.end(),
                    {m_ratioCapacitance, m_ratioInductance, m_ratio, m_filteredOrder, calculate, clear});

    auto* page = new QGridLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->setHorizontalSpacing(15);
    page->addLayout(capacityColumn, 0, 0);
    page->addWidget(ratio, 0, 1, Qt::AlignTop);
    page->setColumnStretch(2, 1);

    setTabChain(tabChain);
    nameFieldsUniquely();
}

void SimplePage::calculateCapacity(const CapacityGroup& group, const QLineEdit* firstTested,
                                   const QLineEdit* secondTested, int connectionFactor) {
    requireFilled({firstTested, secondTested}, u"请输入完整数据"_s);
    const Ext c = readReal(group.capacitance);
    const Ext u = readReal(group.voltage);
    write(group.capacity, CapacitorCapacityKvar(connectionFactor, c, u));
}

void SimplePage::Command9Click() {
    calculateCapacity(m_singlePhase, m_singlePhase.capacitance, m_singlePhase.voltage, 1);
}

void SimplePage::Command10Click() {
    clearFields({m_singlePhase.capacitance, m_singlePhase.voltage, m_singlePhase.capacity}, m_singlePhase.capacitance);
}

// A delta-connected bank has the full line voltage across each of its three capacitors.
void SimplePage::Command12Click() {
    calculateCapacity(m_delta, m_delta.voltage, m_delta.capacitance, 3);
}

void SimplePage::Command11Click() {
    clearFields({m_delta.capacity, m_delta.voltage, m_delta.capacitance}, m_delta.capacitance);
}

// The star formula is the single-phase one.
void SimplePage::Command14Click() {
    calculateCapacity(m_star, m_star.voltage, m_star.capacitance, 1);
}

void SimplePage::Command13Click() {
    clearFields({m_star.capacity, m_star.voltage, m_star.capacitance}, m_star.capacitance);
}

void SimplePage::RzBitBtn14Click() {
    const Ext c = readReal(m_ratioCapacitance);
    const Ext l = readReal(m_ratioInductance);
    const Ext k = ReactanceRatio(l, c);
    const Ext h = ResonantOrder(k);
    writeText(m_ratio, format(k * 100) + u"%"_s);  // in percent
    write(m_filteredOrder, h);
}

void SimplePage::RzBitBtn16Click() {
    clearFields({m_ratioCapacitance, m_ratioInductance, m_ratio, m_filteredOrder}, m_ratioCapacitance);
}

}  // namespace hcalc
