#include "pages/installation_page.h"

#include "core/fault.h"
#include "core/scheme_search.h"
#include "core/sharing.h"
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
// The output grid: per order a row with its reactive power, installed capacity and ideal rated voltage.
// clang-format off
constexpr std::array<std::array<const char*, 3>, 4> kOutputFields{{
    {"Text45",  "Text44",  "Text59"},
    {"Text370", "Text400", "Text60"},
    {"Text380", "Text410", "Text61"},
    {"Text390", "Text42",  "Text62"},
}};
constexpr std::array<const char*, 4> kCurrentFields{"Text43", "Text340", "Text350", "Text360"};
// clang-format on
constexpr int kOutputCaptionWidth = 80;

}  // namespace

InstallationPage::InstallationPage(const PageContext& context, QWidget* parent)
    : InstallationPage(context, ImprovementChain::DefaultBudgetBytes(), parent) {}

InstallationPage::InstallationPage(const PageContext& context, std::uint64_t searchMemoryBytes, QWidget* parent)
    : Page(u"TabSheet5"_s, context, parent), m_numbers(context.numbers), m_searchMemoryBytes(searchMemoryBytes) {
    QGroupBox* inputs = addGroup(body(), u"RzGroupBox15"_s, u"输入数据"_s, QSize(321, 217));
    const Form form = addForm(inputs, {118});
    m_totalKvar = addRow(form, 0, 0, u"需补偿的总无功功率"_s, u"Text320"_s, u"（KVar）"_s, FieldRole::Input);
    m_phaseVoltage = addRow(form, 1, 0, u"相电压"_s, u"Text330"_s, u"（V）"_s, FieldRole::Input);
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        m_currents[j] = addRow(form, 2 + static_cast<int>(j), 0, u"%1次谐波电流"_s.arg(kFilterOrders[j]),
                               QString::fromUtf8(kCurrentFields[j]), u"（A）"_s, FieldRole::Input);
    }

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
    keepWithDesign({m_bestRatio, m_bestTotal});
    m_bestTotal->setObjectName(u"Lbest1"_s);
    auto* bestRow = new QHBoxLayout(best);
    bestRow->setContentsMargins(16, 0, 16, 4);
    bestRow->addWidget(m_bestRatio, 1);
    bestRow->addWidget(m_bestTotal, 1);

    QGroupBox* outputs = addGroup(body(), u"RzGroupBox16"_s, u"输出数据"_s, QSize(745, 161), CaptionStyle::Regular);
    const Form grid = addForm(outputs, {kOutputCaptionWidth, kOutputCaptionWidth, kOutputCaptionWidth});
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        const int r = static_cast<int>(j);
        const int h = kFilterOrders[j];
        const auto name = [j](std::size_t column) { return QString::fromUtf8(kOutputFields[j][column]); };
        m_reactive[j] = addRow(grid, r, 0, u"无功功率Q%1"_s.arg(h), name(0), u"（KVar）"_s, FieldRole::Result);
        m_installed[j] = addRow(grid, r, 1, u"安装容量S%1"_s.arg(h), name(1), u"（KVar）"_s, FieldRole::Result);
        m_voltages[j] = addRow(grid, r, 2, u"额定电压U%1"_s.arg(h), name(2), u"（V）"_s, FieldRole::Result);
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
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
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
    SchemeInputs inputs;
    inputs.steps = SharingSteps(readInteger(m_totalKvar->text()));
    const Ext u = readReal(m_phaseVoltage);
    inputs.phaseVoltage = StoreDouble(u);
    std::array<Ext, 4> current{0, 0, 0, 0};
    for (std::size_t j = 0; j < current.size(); ++j) {
        current[j] = readReal(m_currents[j]);
        inputs.currents[j] = StoreDouble(current[j]);
    }

    requireListFits(inputs);

    std::optional<SearchOutcome> outcome = RunSchemeSearch(this, inputs);
    if (!outcome) {
        return;  // cancelled: nothing is changed
    }
    const double bestRatio = outcome->bestRatio();
    const std::array<std::int32_t, 4> best = outcome->bestSteps();
    m_lines->append(inputs, std::move(outcome->chain), m_numbers.decimalSeparator);
    if (outcome->fault) {
        throw *outcome->fault;  // the lines found before the faulting scheme stay
    }

    for (std::size_t j = 0; j < best.size(); ++j) {
        write(m_reactive[j], BranchKvar(best[j]));
    }
    std::array<QString, 4> installed;
    for (std::size_t j = 0; j < best.size(); ++j) {
        write(m_installed[j], InstalledKvar(u, current[j], kFilterOrders[j], best[j]));
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

    // The ideal rated voltages from the installed capacities as shown; 0 for a branch without steps.
    const Ext phaseVoltage = readReal(m_phaseVoltage);
    std::array<Ext, 4> ideal{0, 0, 0, 0};
    for (std::size_t j = 0; j < best.size(); ++j) {
        const Ext lineVoltage = RaisedLineVoltage(phaseVoltage, kFilterOrders[j]);
        if (best[j] != 0) {
            ideal[j] = IdealRatedVoltage(readReal(m_installed[j]), lineVoltage, kFilterOrders[j], best[j]);
        }
    }
    std::array<QString, 4> voltages;
    for (std::size_t j = 0; j < ideal.size(); ++j) {
        write(m_voltages[j], ideal[j]);
        voltages[j] = m_voltages[j]->text();
    }
    Q_EMIT idealVoltagesWritten(voltages);
}

void InstallationPage::requireListFits(const SchemeInputs& inputs) const {
    // Known before the search: a list that cannot fit in the memory a search may take would only end in "Out
    // of memory." once it has filled half the machine, minutes later.
    const std::uint64_t needed = ImprovementChain::BytesFor(LeastImprovementCount(inputs));
    if (needed > m_searchMemoryBytes) {
        const auto gigabytes = [](std::uint64_t bytes) {
            return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0), 'f', 1);
        };
        notice(
            u"需补偿的总无功功率过大：方案列表至少需要%1GB内存，超过本机可用的%2GB，请减小需补偿的总无功功率！"_s.arg(
                gigabytes(needed), gigabytes(m_searchMemoryBytes)));
        throw CalculationEnded();
    }
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

std::vector<DesignSearch> InstallationPage::keptSearches() const {
    return m_lines->searches();
}

std::optional<std::vector<ImprovementChain>> InstallationPage::rerunSearches(const std::vector<DesignSearch>& searches,
                                                                             QString& refusal) {
    // All the lists must fit in the memory a search may take, together: known before any search runs.
    std::uint64_t needed = 0;
    for (const DesignSearch& search : searches) {
        needed += ImprovementChain::BytesFor(LeastImprovementCount(search.inputs));
    }
    if (needed > m_searchMemoryBytes) {
        refusal = u"方案中的最佳方案列表需要的内存超过本机可用的内存"_s;
        return std::nullopt;
    }
    std::vector<ImprovementChain> lists;
    for (const DesignSearch& search : searches) {
        std::optional<SearchOutcome> outcome;
        try {
            outcome = RunSchemeSearch(this, search.inputs);
        } catch (const std::bad_alloc&) {
            refusal = u"重新计算最佳方案列表时内存不足"_s;
            return std::nullopt;
        }
        if (!outcome) {
            return std::nullopt;  // cancelled
        }
        // A search that stopped at a fault listed the lines found before it: the list shows them as it did.
        lists.push_back(std::move(outcome->chain));
    }
    return lists;
}

void InstallationPage::showSearches(const std::vector<DesignSearch>& searches, std::vector<ImprovementChain> lists) {
    m_lines->clear();
    for (std::size_t i = 0; i < searches.size() && i < lists.size(); ++i) {
        m_lines->append(searches[i].inputs, std::move(lists[i]), searches[i].separator);
    }
}

}  // namespace hcalc
