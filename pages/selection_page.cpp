#include "pages/selection_page.h"

#include "core/capacitor_selection.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

struct BankDesign {
    const char* group;
    const char* caption;
    const char* qi;
    const char* ui;
    const char* us;
    const char* qs;
    const char* calculate;
    const char* clear;
    // Tab order of the four fields: the roles in the order the Tab key visits them.
    std::array<int, 4> tabOrder;  // 0 qi, 1 ui, 2 us, 3 qs
};

// clang-format off
constexpr std::array<BankDesign, 4> kBanks{{
    {"RzGroupBox19", "3次滤波器组",  "Text1a",  "Text2a",  "Text3a",  "Text4a",  "RzBitBtn5",  "RzBitBtn6",  {0, 3, 1, 2}},
    {"RzGroupBox20", "5次滤波器组",  "Text8a",  "Text7a",  "Text6a",  "Text5a",  "RzBitBtn7",  "RzBitBtn8",  {0, 2, 1, 3}},
    {"RzGroupBox21", "7次滤波器组",  "Text12a", "Text11a", "Text10a", "Text9a",  "RzBitBtn9",  "RzBitBtn10", {0, 1, 2, 3}},
    {"RzGroupBox22", "11次滤波器组", "Text16a", "Text15a", "Text14a", "Text13a", "RzBitBtn11", "RzBitBtn12", {0, 1, 2, 3}},
}};
// clang-format on

// The caption widths of the three form columns.
constexpr int kIdealCaptionWidth = 124;
constexpr int kIdealVoltageCaptionWidth = 104;
constexpr int kChosenVoltageCaptionWidth = 132;

}  // namespace

SelectionPage::SelectionPage(const PageContext& context, QWidget* parent) : Page(u"TabSheet6"_s, context, parent) {
    using Handler = void (SelectionPage::*)();
    constexpr std::array<std::pair<Handler, Handler>, 4> kHandlers{{
        {&SelectionPage::RzBitBtn5Click, &SelectionPage::RzBitBtn6Click},
        {&SelectionPage::RzBitBtn7Click, &SelectionPage::RzBitBtn8Click},
        {&SelectionPage::RzBitBtn9Click, &SelectionPage::RzBitBtn10Click},
        {&SelectionPage::RzBitBtn11Click, &SelectionPage::RzBitBtn12Click},
    }};

    auto* page = new QVBoxLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->setSpacing(15);
    std::vector<QWidget*> tabChain;
    for (std::size_t i = 0; i < kBanks.size(); ++i) {
        const BankDesign& d = kBanks[i];
        QGroupBox* group = addGroup(body(), QString::fromUtf8(d.group), QString::fromUtf8(d.caption), QSize(761, 105));
        const Form form = addForm(group, {kIdealCaptionWidth, kIdealVoltageCaptionWidth, kChosenVoltageCaptionWidth});
        Bank& bank = m_banks[i];
        bank.qi = addRow(form, 0, 0, u"电容理想安装容量"_s, QString::fromUtf8(d.qi), u"（KVar）"_s, FieldRole::Input);
        bank.ui = addRow(form, 0, 1, u"电容理想额定电压"_s, QString::fromUtf8(d.ui), u"（V）"_s, FieldRole::Input);
        bank.us = addRow(form, 0, 2, u"选用电容器的额定电压"_s, QString::fromUtf8(d.us), u"（V）"_s, FieldRole::Input);
        bank.qs =
            addRow(form, 1, 0, u"选用电容器的总容量"_s, QString::fromUtf8(d.qs), u"（KVar）"_s, FieldRole::Result);
        QPushButton* calculate = addButton(group, QString::fromUtf8(d.calculate), u"计算"_s, kHandlers[i].first);
        QPushButton* clear = addButton(group, QString::fromUtf8(d.clear), u"清空"_s, kHandlers[i].second);
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
    if (anyEmpty({bank.qi, bank.ui, bank.us})) {
        notice(u"请输入完整数据"_s);
        return;
    }
    const Ext qi = readReal(bank.qi);
    const Ext ui = readReal(bank.ui);
    const Ext us = readReal(bank.us);
    write(bank.qs, ChosenCapacitorsKvar(qi, ui, us));
}

void SelectionPage::clear(const Bank& bank) {
    clearFields({bank.qi, bank.ui, bank.us, bank.qs}, bank.qi);
}

void SelectionPage::RzBitBtn5Click() {
    calculate(m_banks[0]);
}
void SelectionPage::RzBitBtn6Click() {
    clear(m_banks[0]);
}
void SelectionPage::RzBitBtn7Click() {
    calculate(m_banks[1]);
}
void SelectionPage::RzBitBtn8Click() {
    clear(m_banks[1]);
}
void SelectionPage::RzBitBtn9Click() {
    calculate(m_banks[2]);
}
void SelectionPage::RzBitBtn10Click() {
    clear(m_banks[2]);
}
void SelectionPage::RzBitBtn11Click() {
    calculate(m_banks[3]);
}
void SelectionPage::RzBitBtn12Click() {
    clear(m_banks[3]);
}

}  // namespace hcalc
