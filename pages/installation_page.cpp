#include "pages/installation_page.h"

#include "core/fault.h"
#include "core/scheme_search.h"
#include "pages/improvement_list_model.h"
#include "pages/search_runner.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {
// The output grid: per order a row, per quantity a column of caption, field and unit.
struct OutputRow {
    const char* reactive;
    const char* reactiveLabel;
    const char* installed;
    const char* installedLabel;
    const char* voltage;
    const char* voltageLabel;
};
// clang-format off
constexpr std::array<OutputRow, 4> kOutputs{{
    {"Text45",  "无功功率Q3",  "Text44",  "安装容量S3",  "Text59", "额定电压U3"},
    {"Text370", "无功功率Q5",  "Text400", "安装容量S5",  "Text60", "额定电压U5"},
    {"Text380", "无功功率Q7",  "Text410", "安装容量S7",  "Text61", "额定电压U7"},
    {"Text390", "无功功率Q11", "Text42",  "安装容量S11", "Text62", "额定电压U11"},
}};
// clang-format on
constexpr int kOutputCaptionWidth = 80;

// h^2 / (h^2 - 1), the raise of a branch tuned to the order h.
Ext TuningFactor(int h) {
    return Ext(h * h) / (h * h - 1);
}

}  // namespace

InstallationPage::InstallationPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet5"_s, context, parent), m_numbers(context.numbers) {
    QGroupBox* inputs = addGroup(body(), u"RzGroupBox15"_s, u"输入数据"_s, QSize(321, 217));
    const Form form = addForm(inputs, {118});
    m_totalKvar = addRow(form, 0, 0, u"需补偿的总无功功率"_s, u"Text320"_s, u"（KVar）"_s, FieldRole::Input);
    m_phaseVoltage = addRow(form, 1, 0, u"相电压"_s, u"Text330"_s, u"（V）"_s, FieldRole::Input);
    m_currents[0] = addRow(form, 2, 0, u"3次谐波电流"_s, u"Text43"_s, u"（A）"_s, FieldRole::Input);
    m_currents[1] = addRow(form, 3, 0, u"5次谐波电流"_s, u"Text340"_s, u"（A）"_s, FieldRole::Input);
    m_currents[2] = addRow(form, 4, 0, u"7次谐波电流"_s, u"Text350"_s, u"（A）"_s, FieldRole::Input);
    m_currents[3] = addRow(form, 5, 0, u"11次谐波电流"_s, u"Text360"_s, u"（A）"_s, FieldRole::Input);

    QPushButton* calculate = addButton(body(), u"RzBitBtn3"_s, u"计算"_s, &InstallationPage::RzBitBtn3Click);
    QPushButton* clear = addButton(body(), u"RzBitBtn4"_s, u"清空"_s, &InstallationPage::RzBitBtn4Click);

    QGroupBox* listGroup = addGroup(body(), u"RzGroupBox17"_s, u"所有计算得到的（Q总/S总）值对比"_s, QSize(321, 217));
    m_lines = new ImprovementListModel(this);
    m_list = new QListView(listGroup);
    m_list->setObjectName(u"List1"_s);
    m_list->setAccessibleName(listGroup->title() + u"（安装容量计算）"_s);
    m_list->setFont(look::songTi());
    m_list->setUniformItemSizes(true);  // a million lines lay out as fast as ten
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setPalette(look::withColor(m_list->palette(), QPalette::Base, look::kResultBackground));
    m_list->setModel(m_lines);
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->setContentsMargins(8, 4, 8, 8);
    listLayout->addWidget(m_list);

    QGroupBox* best = addGroup(body(), u"RzGroupBox18"_s, u"最佳方案"_s, QSize(745, 41), CaptionStyle::Regular);
    m_bestRatio = addLabel(best, u"Q总/S总＝"_s);
    m_bestRatio->setObjectName(u"Lbest"_s);
    m_bestTotal = addLabel(best, u"S总＝"_s);
    m_bestTotal->setObjectName(u"Lbest1"_s);
    auto* bestRow = new QHBoxLayout(best);
    bestRow->setContentsMargins(16, 0, 16, 4);
    bestRow->addWidget(m_bestRatio, 1);
    bestRow->addWidget(m_bestTotal, 1);

    QGroupBox* outputs = addGroup(body(), u"RzGroupBox16"_s, u"输出数据"_s, QSize(745, 161), CaptionStyle::Regular);
    const Form grid = addForm(outputs, {kOutputCaptionWidth, kOutputCaptionWidth, kOutputCaptionWidth});
    for (std::size_t j = 0; j < kOutputs.size(); ++j) {
        const OutputRow& row = kOutputs[j];
        const int r = static_cast<int>(j);
        m_reactive[j] = addRow(grid, r, 0, QString::fromUtf8(row.reactiveLabel), QString::fromUtf8(row.reactive),
                               u"（KVar）"_s, FieldRole::Result);
        m_installed[j] = addRow(grid, r, 1, QString::fromUtf8(row.installedLabel), QString::fromUtf8(row.installed),
                                u"（KVar）"_s, FieldRole::Result);
        m_voltages[j] = addRow(grid, r, 2, QString::fromUtf8(row.voltageLabel), QString::fromUtf8(row.voltage),
                               u"（V）"_s, FieldRole::Result);
    }

    auto* top = new QHBoxLayout;
    top->setSpacing(15);
    top->addWidget(inputs);
    top->addLayout(addButtonLine(QBoxLayout::TopToBottom, 64, 39, {calculate, clear}));
    top->addWidget(listGroup, 1);
    // One column as wide as its widest part, the outputs; the list takes what the inputs leave of it.
    auto* column = new QVBoxLayout;
    column->setSpacing(7);
    column->addLayout(top);
    column->addWidget(best);
    column->addWidget(outputs);
    auto* page = new QGridLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->addLayout(column, 0, 0);
    page->setColumnStretch(1, 1);
    page->setRowStretch(1, 1);

    std::vector<QWidget*> tabChain{m_totalKvar,   m_phaseVoltage, m_currents[0], m_currents[1],
                                   m_currents[2], m_currents[3],  calculate,     clear};
    for (std::size_t j = 0; j < kOutputs.size(); ++j) {
        tabChain.insert(tabChain.end(), {m_reactive[j], m_installed[j], m_voltages[j]});
    }
    tabChain.push_back(m_list);
    setTabChain(tabChain);
    nameFieldsUniquely();
}

QString InstallationPage::phaseVoltageText() const {
    return m_phaseVoltage->text();
}

std::array<QString, 4> InstallationPage::harmonicCurrentTexts() const {
    return {m_currents[0]->text(), m_currents[1]->text(), m_currents[2]->text(), m_currents[3]->text()};
}

void InstallationPage::takeTotalReactivePower(const QString& text) {
    writeText(m_totalKvar, text);
}

void InstallationPage::RzBitBtn3Click() {
    requireFilled({m_totalKvar, m_phaseVoltage, m_currents[1], m_currents[2], m_currents[3], m_currents[0]},
                  u"输入数据不完整，请输入完整数据！"_s);
    const std::int32_t q = readInteger(m_totalKvar->text());
    // One step is 1000 var per phase, 3 kvar for the three phases.
    const auto n = static_cast<std::int32_t>(TruncateReal(Ext(q) / 3));
    SchemeInputs inputs;
    inputs.steps = n;
    const Ext u = readReal(m_phaseVoltage);
    inputs.phaseVoltage = StoreDouble(u);
    std::array<Ext, 4> current{0, 0, 0, 0};
    for (std::size_t j = 0; j < current.size(); ++j) {
        current[j] = readReal(m_currents[j]);
        inputs.currents[j] = StoreDouble(current[j]);
    }

    std::optional<SearchOutcome> outcome = RunSchemeSearch(this, inputs);
    if (!outcome) {
        return;  // cancelled: nothing is changed
    }
    const double bestRatio = outcome->bestRatio();
    const std::array<std::int32_t, 4> best = outcome->bestSteps();
    m_lines->append(std::move(outcome->chain), m_numbers.decimalSeparator);
    if (outcome->fault) {
        throw *outcome->fault;  // the lines found before the faulting scheme stay
    }

    // Reactive power of each branch, kvar: 3 kvar per step.
    for (std::size_t j = 0; j < best.size(); ++j) {
        write(m_reactive[j], Ext(3) * best[j]);
    }
    // Installed capacity of each branch, kvar for the three phases.
    std::array<QString, 4> installed;
    for (std::size_t j = 0; j < best.size(); ++j) {
        const int h = kBranchOrders[j];
        const std::int32_t a = best[j];
        if (a != 0) {
            const Ext i = current[j];
            write(m_installed[j],
                  (Ext(1000) * a + u * u * i * i / (Ext(1000) * h * a)) * (h * h) / (h * h - 1) * 3 / 1000);
        } else {
            m_installed[j]->setText(u"0"_s);
        }
        installed[j] = m_installed[j]->text();
    }
    Q_EMIT idealCapacitiesWritten(installed);

    // S总 from the capacities as shown.
    Ext total = readReal(m_installed[0]);
    for (std::size_t j = 1; j < best.size(); ++j) {
        total = total + readReal(m_installed[j]);
    }
    m_bestRatio->setText(u"Q总/S总＝"_s + format(bestRatio));
    m_bestTotal->setText(u"S总＝"_s + format(total) + u"(KVar)"_s);

    // Ideal rated voltage: the raised line voltage sqrt(3)*U*k_h times the square root of the installed capacity
    // over the raised fundamental capacity 3*a_h*1000*k_h (var).
    const Ext phaseVoltage = readReal(m_phaseVoltage);
    std::array<Ext, 4> ideal{0, 0, 0, 0};
    for (std::size_t j = 0; j < best.size(); ++j) {
        const Ext k = TuningFactor(kBranchOrders[j]);
        const Ext lineVoltage = Sqrt(Ext(3)) * phaseVoltage * k;
        const Ext raised = Ext(3) * best[j] * (Ext(1000) * k);
        if (raised != 0) {
            ideal[j] = Sqrt(readReal(m_installed[j]) * 1000 / raised * lineVoltage * lineVoltage);
        }
    }
    std::array<QString, 4> voltages;
    for (std::size_t j = 0; j < ideal.size(); ++j) {
        write(m_voltages[j], ideal[j]);
        voltages[j] = m_voltages[j]->text();
    }
    Q_EMIT idealVoltagesWritten(voltages);
}

void InstallationPage::RzBitBtn4Click() {
    std::vector<QLineEdit*> fields{m_totalKvar, m_phaseVoltage};
    for (const auto& column : {m_currents, m_reactive, m_installed, m_voltages}) {
        fields.insert(fields.end(), column.begin(), column.end());
    }
    clearFields(fields);
    m_lines->clear();
    m_totalKvar->setFocus();
}

}  // namespace hcalc
