#include "pages/simple_page.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kLabelLeft = 16;
constexpr int kFieldLeft = 104;
constexpr int kFieldWidth = 121;
constexpr int kButtonLeft = 312;
constexpr std::array<int, 3> kRowTops{24, 56, 88};

// The field names of one capacity group, from the top row down.
struct CapacityDesign {
    const char* group;
    const char* caption;
    int top;
    const char* capacitance;
    const char* voltage;
    const char* capacity;
    const char* calculate;
    const char* clear;
};

// clang-format off
constexpr std::array<CapacityDesign, 3> kCapacityGroups{{
    {"RzGroupBox11", "单项电容容量计算",  8,   "Text32", "Text33", "Text34", "Command9",  "Command10"},
    {"RzGroupBox12", "三角连接三相电容容量计算",  152, "Text37", "Text36", "Text35", "Command12", "Command11"},
    {"RzGroupBox13", "Y连接三相电容容量计算",  296, "Text40", "Text39", "Text38", "Command14", "Command13"},
}};
// clang-format on

}  // namespace

SimplePage::SimplePage(const PageContext& context, QWidget* parent) : Page(u"TabSheet3"_s, context, parent) {
    using Handler = void (SimplePage::*)();
    const std::array<std::pair<Handler, Handler>, 3> handlers{{
        {&SimplePage::Command9Click, &SimplePage::Command10Click},
        {&SimplePage::Command12Click, &SimplePage::Command11Click},
        {&SimplePage::Command14Click, &SimplePage::Command13Click},
    }};
    const std::array<CapacityGroup*, 3> groups{&m_singlePhase, &m_delta, &m_star};

    std::vector<QWidget*> tabChain;
    for (std::size_t i = 0; i < kCapacityGroups.size(); ++i) {
        const CapacityDesign& d = kCapacityGroups[i];
        QGroupBox* box =
            addGroup(body(), QString::fromUtf8(d.group), QString::fromUtf8(d.caption), QRect(16, d.top, 417, 129));
        CapacityGroup& g = *groups[i];
        g.capacitance = addRow(box, kRowTops[0], kLabelLeft, u"电容值"_s, QString::fromUtf8(d.capacitance), kFieldLeft,
                               kFieldWidth, u"（uF）"_s, FieldRole::Input);
        g.voltage = addRow(box, kRowTops[1], kLabelLeft, u"现场电压"_s, QString::fromUtf8(d.voltage), kFieldLeft,
                           kFieldWidth, u"（V）"_s, FieldRole::Input);
        g.capacity = addRow(box, kRowTops[2], kLabelLeft, u"容量"_s, QString::fromUtf8(d.capacity), kFieldLeft,
                            kFieldWidth, u"（KVar）"_s, FieldRole::Result);
        QPushButton* calculate = addButton(box, QString::fromUtf8(d.calculate), u"计算"_s,
                                           QRect(kButtonLeft, kRowTops[0] - 2, 0, 0), handlers[i].first);
        QPushButton* clear = addButton(box, QString::fromUtf8(d.clear), u"清空"_s,
                                       QRect(kButtonLeft, kRowTops[1] - 2, 0, 0), handlers[i].second);
        // The single-phase group visits its capacity before its voltage.
        if (i == 0) {
            tabChain.insert(tabChain.end(), {g.capacitance, g.capacity, g.voltage});
        } else {
            tabChain.insert(tabChain.end(), {g.capacitance, g.voltage, g.capacity});
        }
        tabChain.insert(tabChain.end(), {calculate, clear});
    }

    QGroupBox* ratio =
        addGroup(body(), u"RzGroupBox23"_s, u"电抗率计算"_s, QRect(448, 8, 313, 217), CaptionStyle::Regular);
    constexpr int kRatioFieldLeft = 88;
    m_ratioCapacitance =
        addRow(ratio, 24, kLabelLeft, u"电容值"_s, u"T1"_s, kRatioFieldLeft, kFieldWidth, u"(uF)"_s, FieldRole::Input);
    m_ratioInductance =
        addRow(ratio, 56, kLabelLeft, u"电感值"_s, u"T2"_s, kRatioFieldLeft, kFieldWidth, u"(mH)"_s, FieldRole::Input);
    QPushButton* calculate =
        addButton(ratio, u"RzBitBtn14"_s, u"计算"_s, QRect(kRatioFieldLeft, 92, 0, 0), &SimplePage::RzBitBtn14Click);
    QPushButton* clear = addButton(ratio, u"RzBitBtn16"_s, u"清空"_s, QRect(kRatioFieldLeft + 88, 92, 0, 0),
                                   &SimplePage::RzBitBtn16Click);
    m_ratio =
        addRow(ratio, 132, kLabelLeft, u"电抗率为"_s, u"T3"_s, kRatioFieldLeft, kFieldWidth, {}, FieldRole::Result);
    m_filteredOrder = addRow(ratio, 164, kLabelLeft, u"可滤除"_s, u"T4"_s, kRatioFieldLeft, kFieldWidth, u"次谐波"_s,
                             FieldRole::Result);
    tabChain.insert(tabChain.end(),
                    {m_ratioCapacitance, m_ratioInductance, m_ratio, m_filteredOrder, calculate, clear});

    for (std::size_t i = 1; i < tabChain.size(); ++i) {
        setTabOrder(tabChain[i - 1], tabChain[i]);
    }
}

// Q = m * U^2 * omega * C, with omega written 2 * 3.14 * 50 (rad/s), C in uF
// and Q in kvar: 1E6 for uF to F and 1E3 for var to kvar.
void SimplePage::calculateCapacity(const CapacityGroup& group, const QLineEdit* firstTested,
                                   const QLineEdit* secondTested, int connectionFactor) {
    if (anyEmpty({firstTested, secondTested})) {
        notice(u"请输入完整数据"_s);
        return;
    }
    const Ext c = readReal(group.capacitance);
    const Ext u = readReal(group.voltage);
    const Ext q = Stored(Ext(connectionFactor) * u * u * 2 * kPi314 * 50 * c / 1000000000);
    write(group.capacity, q);
}

void SimplePage::clear(std::initializer_list<QLineEdit*> fields, QLineEdit* focus) {
    for (QLineEdit* field : fields) {
        field->clear();
    }
    focus->setFocus();
}

void SimplePage::Command9Click() {
    calculateCapacity(m_singlePhase, m_singlePhase.capacitance, m_singlePhase.voltage, 1);
}

void SimplePage::Command10Click() {
    clear({m_singlePhase.capacitance, m_singlePhase.voltage, m_singlePhase.capacity}, m_singlePhase.capacitance);
}

// A delta-connected bank has the full line voltage across each of its three capacitors.
void SimplePage::Command12Click() {
    calculateCapacity(m_delta, m_delta.voltage, m_delta.capacitance, 3);
}

void SimplePage::Command11Click() {
    clear({m_delta.capacity, m_delta.voltage, m_delta.capacitance}, m_delta.capacitance);
}

// The star formula is the single-phase one.
void SimplePage::Command14Click() {
    calculateCapacity(m_star, m_star.voltage, m_star.capacitance, 1);
}

void SimplePage::Command13Click() {
    clear({m_star.capacity, m_star.voltage, m_star.capacitance}, m_star.capacitance);
}

// The reactance ratio k = XL / XC = omega^2 * L * C, with omega^2 written
// 98596 (314^2, rad^2/s^2), L in mH and C in uF (1E-3 * 1E-6). The pair
// resonates where h^2 * XL = XC, at h = sqrt(1 / k).
void SimplePage::RzBitBtn14Click() {
    const Ext c = readReal(m_ratioCapacitance);
    const Ext l = readReal(m_ratioInductance);
    const Ext k = Stored(Ext(98596) * l * c / 1000000000);
    const Ext hr = Stored(Sqrt(Ext(1) / k));
    writeText(m_ratio, format(k * 100) + u"%"_s);
    write(m_filteredOrder, hr);
}

void SimplePage::RzBitBtn16Click() {
    clear({m_ratioCapacitance, m_ratioInductance, m_ratio, m_filteredOrder}, m_ratioCapacitance);
}

}  // namespace hcalc
