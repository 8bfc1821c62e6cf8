#include "pages/selection_page.h"

#include "core/capacitor_selection.h"
#include "core/filter_orders.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The bank of each order (kFilterOrders): its group, its fields in the roles
// qi, ui, us and qs, its two buttons with their handlers, and the order in
// which the Tab key visits the fields (by role).
struct BankDesign {
    const char* group;
    std::array<const char*, 4> fields;
    const char* calculate;
    void (SelectionPage::*onCalculate)();
    const char* clear;
    void (SelectionPage::*onClear)();
    std::array<int, 4> tabOrder;
};

// clang-format off
constexpr std::array<BankDesign, 4> kBanks{{
    {"RzGroupBox19", {"Text1a",  "Text2a",  "Text3a",  "Text4a"},
     "RzBitBtn5",  &SelectionPage::RzBitBtn5Click,  "RzBitBtn6",  &SelectionPage::RzBitBtn6Click,  {0, 3, 1, 2}},
    {"RzGroupBox20", {"Text8a",  "Text7a",  "Text6a",  "Text5a"},
     "RzBitBtn7",  &SelectionPage::RzBitBtn7Click,  "RzBitBtn8",  &SelectionPage::RzBitBtn8Click,  {0, 2, 1, 3}},
    {"RzGroupBox21", {"Text12a", "Text11a", "Text10a", "Text9a"},
     "RzBitBtn9",  &SelectionPage::RzBitBtn9Click,  "RzBitBtn10", &SelectionPage::RzBitBtn10Click, {0, 1, 2, 3}},
    {"RzGroupBox22", {"Text16a", "Text15a", "Text14a", "Text13a"},
     "RzBitBtn11", &SelectionPage::RzBitBtn11Click, "RzBitBtn12", &SelectionPage::RzBitBtn12Click, {0, 1, 2, 3}},
}};
// clang-format on

// The caption widths of the three form columns.
constexpr int kIdealCaptionWidth = 124;
constexpr int kIdealVoltageCaptionWidth = 104;
constexpr int kChosenVoltageCaptionWidth = 132;

}  // namespace

SelectionPage::SelectionPage(const PageContext& context, QWidget* parent) : Page(u"TabSheet6"_s, context, parent) {
    auto* page = new QVBoxLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->setSpacing(15);
    std::vector<QWidget*> tabChain;
    for (std::size_t i = 0; i < kBanks.size(); ++i) {
        const BankDesign& d = kBanks[i];
        QGroupBox* group =
            addGroup(body(), QString::fromUtf8(d.group), u"%1次滤波器组"_s.arg(kFilterOrders[i]), QSize(761, 105));
        const Form form = addForm(group, {kIdealCaptionWidth, kIdealVoltageCaptionWidth, kChosenVoltageCaptionWidth});
        Bank& bank = m_banks[i];
        bank.qi =
            addRow(form, 0, 0, u"电容理想安装容量"_s, QString::fromUtf8(d.fields[0]), u"（KVar）"_s, FieldRole::Input);
        bank.ui =
            addRow(form, 0, 1, u"电容理想额定电压"_s, QString::fromUtf8(d.fields[1]), u"（V）"_s, FieldRole::Input);
        bank.us =
            addRow(form, 0, 2, u"选用电容器的额定电压"_s, QString::fromUtf8(d.fields[2]), u"（V）"_s, FieldRole::Input);
        bank.qs = addRow(form, 1, 0, u"选用电容器的总容量"_s, QString::fromUtf8(d.fields[3]), u"（KVar）"_s,
                         FieldRole::Result);
        QPushButton* calculate = addButton(group, QString::fromUtf8(d.calculate), u"计算"_s, d.onCalculate);
        QPushButton* clear = addButton(group, QString::fromUtf8(d.clear), u"清空"_s, d.onClear);
        // The buttons side by side in the second row, under the second column.
        form.grid->addLayout(addButtonLine(QBoxLayout::LeftToRight, 0, 5, {calculate, clear}), 1, form.gridColumn(1), 1,
                             3);
        page->addWidget(group, 0, Qt::AlignLeft);

        const std::array<QLineEdit*, 4> byRole{bank.qi, bank.ui, bank.us, bank.qs};
        for (int role : d.tabOrder) {
            tabChain.push_back(byRole[static_cast<std::size_t>(role)]);
        }
        tabChain.push_back(calculate);
        tabChain.push_back(clear);
    }
    page->addStretch();
    setTabChain(tabChain);
    nameFieldsUniquely();
}

void SelectionPage::takeIdealCapacities(const std::array<QString, 4>& texts) {
    for (std::size_t i = 0; i < m_banks.size(); ++i) {
        writeText(m_banks[i].qi, texts[i]);
    }
}

void SelectionPage::takeIdealVoltages(const std::array<QString, 4>& texts) {
    for (std::size_t i = 0; i < m_banks.size(); ++i) {
        writeText(m_banks[i].ui, texts[i]);
    }
}

void SelectionPage::calculate(const Bank& bank) {
    requireFilled({bank.qi, bank.ui, bank.us}, u"请输入完整数据"_s);
    const Ext qi = readReal(bank.qi);
    const Ext ui = readReal(bank.ui);
    const Ext us = readReal(bank.us);
    write(bank.qs, ChosenCapacitorsKvar(qi, ui, us));
    Q_EMIT chosenCapacitorsWritten(kFilterOrders[static_cast<std::size_t>(&bank - m_banks.data())], bank.us->text(),
                                   bank.qs->text());
}

void SelectionPage::clear(const Bank& bank) {
    clearFields({bank.qi, bank.ui, bank.us, bank.qs}, bank.qi);
}

}  // namespace hcalc
