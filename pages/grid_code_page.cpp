#include "pages/grid_code_page.h"

#include "core/dialogs.h"
#include "core/fault.h"
#include "core/filter_orders.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::array<const char*, kComplianceColumns> kColumnNames{
    "CurrentWithout", "CurrentWith", "CurrentLimit", "VoltageWithout", "VoltageWith", "VoltageLimit",
};

QString RowName(std::size_t row) {
    return row < kFilterOrders.size() ? QString::number(kFilterOrders[row]) : u"Total"_s;
}

// A cell is as wide as "9.99E-10 超限", the widest text a figure takes, so
// that the table keeps its columns whatever it shows.
const QString kWidestCell = u"9.99E-10 超限"_s;

void ShowCell(QLabel* cell, const ShownCell& shown) {
    Page::showResultCell(cell, shown.text, shown.over, kWidestCell);
}

}  // namespace

GridCodePage::GridCodePage(const PageContext& context, LoadSource load, ReportWriter writeReport, QWidget* parent)
    : Page(u"TabSheet9"_s, context, parent),
      m_numbers(context.numbers),
      m_load(std::move(load)),
      m_writeReport(std::move(writeReport)) {
    QGroupBox* inputs = addInputGroup();
    QGroupBox* results = addResultGroup();
    QPushButton* check = addButton(body(), u"limitCalculate"_s, u"校验"_s, &GridCodePage::checkClick, 110);
    QPushButton* report = addButton(body(), u"limitReport"_s, u"输出校验报告"_s, &GridCodePage::reportClick, 110);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(inputs);
    top->addLayout(addButtonLine(QBoxLayout::TopToBottom, 24, 7, {check, report}));
    top->addStretch();
    auto* page = new QVBoxLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->setSpacing(7);
    page->addLayout(top);
    page->addWidget(results);
    page->addStretch();

    setTabChain({m_standard, m_pccLevel, m_minShortCircuit, m_agreedCapacity, m_supplyCapacity, m_demandCurrent, check,
                 report});
    clearResults();
    showFlows();
    refreshDemandHint();
    nameFieldsUniquely();
}

QGroupBox* GridCodePage::addInputGroup() {
    QGroupBox* group = addGroup(body(), u"limitInputs"_s, u"校验依据"_s, QSize(0, 0));
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(7);

    auto* standardLine = new QHBoxLayout;
    standardLine->setSpacing(4);
    QLabel* standardCaption = addLabel(group, u"校验标准"_s);
    m_standard = addList(group, u"limitStandard"_s, {GridCodeName(GridCode::Gb14549), GridCodeName(GridCode::Ieee519)});
    standardCaption->setBuddy(m_standard);
    m_source = addLabel(group, QString());
    m_source->setObjectName(u"limitSource"_s);
    standardLine->addWidget(standardCaption);
    standardLine->addWidget(m_standard);
    standardLine->addSpacing(16);
    standardLine->addWidget(m_source);
    standardLine->addStretch();
    column->addLayout(standardLine);

    // The inputs of each standard in a group of its own, side by side.
    auto* standards = new QHBoxLayout;
    standards->setSpacing(8);
    m_gbGroup = addGroup(group, u"limitGbGroup"_s, GridCodeName(GridCode::Gb14549), QSize(0, 0), CaptionStyle::Regular);
    const Form gb = addForm(m_gbGroup, {130});
    QStringList levels;
    for (const GbCurrentAllowance& row : kGb14549Table2) {
        levels << FormatNominalKv(row.nominalKv, u'.');
    }
    m_pccLevel = addListRow(gb, 0, 0, u"公共连接点电压等级"_s, u"limitPccLevel"_s, levels, u"kV"_s);
    m_minShortCircuit = addRow(gb, 1, 0, u"最小短路容量Sk1"_s, u"limitMinShortCircuit"_s, u"MVA"_s, FieldRole::Input);
    m_agreedCapacity = addRow(gb, 2, 0, u"用户协议容量Si"_s, u"limitAgreedCapacity"_s, u"MVA"_s, FieldRole::Input);
    m_supplyCapacity = addRow(gb, 3, 0, u"供电设备容量St"_s, u"limitSupplyCapacity"_s, u"MVA"_s, FieldRole::Input);
    gb.grid->addWidget(addLabel(m_gbGroup, u"Si与St都空缺时取全部允许值"_s), 4, 0, 1, 3);

    m_ieeeGroup =
        addGroup(group, u"limitIeeeGroup"_s, GridCodeName(GridCode::Ieee519), QSize(0, 0), CaptionStyle::Regular);
    const Form ieee = addForm(m_ieeeGroup, {130});
    m_demandCurrent = addRow(ieee, 0, 0, u"最大需量负荷电流IL"_s, u"limitDemandCurrent"_s, u"A"_s, FieldRole::Input);
    m_demandHint = addLabel(m_ieeeGroup, QString());
    m_demandHint->setObjectName(u"limitDemandHint"_s);
    ieee.grid->addWidget(m_demandHint, 1, 0, 1, 4);
    m_shortCircuitCurrent = addLabel(m_ieeeGroup, QString());
    m_shortCircuitCurrent->setObjectName(u"limitShortCircuitCurrent"_s);
    ieee.grid->addWidget(m_shortCircuitCurrent, 2, 0, 1, 4);
    ieee.grid->setRowStretch(3, 1);

    standards->addWidget(m_gbGroup);
    standards->addWidget(m_ieeeGroup);
    column->addLayout(standards);
    return group;
}

QGroupBox* GridCodePage::addResultGroup() {
    QGroupBox* group = addGroup(body(), u"limitResults"_s, u"校验结果"_s, QSize(0, 0));
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(7);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    m_currentTitle = addLabel(group, QString());
    m_currentTitle->setObjectName(u"limitCurrentTitle"_s);
    m_voltageTitle = addLabel(group, QString());
    m_voltageTitle->setObjectName(u"limitVoltageTitle"_s);
    grid->addWidget(m_currentTitle, 0, 1, 1, 3, Qt::AlignCenter);
    grid->addWidget(m_voltageTitle, 0, 4, 1, 3, Qt::AlignCenter);
    for (std::size_t c = 0; c < kComplianceColumns; ++c) {
        m_headers[c] = addLabel(group, QString());
        m_headers[c]->setObjectName(u"limitHeader"_s + QString::fromUtf8(kColumnNames[c]));
        grid->addWidget(m_headers[c], 1, static_cast<int>(c) + 1, Qt::AlignCenter);
    }
    for (std::size_t r = 0; r < m_cells.size(); ++r) {
        const int row = static_cast<int>(r) + 2;
        QLabel* caption = addLabel(group, r < kFilterOrders.size() ? OrderName(kFilterOrders[r]) : u"合计"_s);
        grid->addWidget(caption, row, 0);
        for (std::size_t c = 0; c < kComplianceColumns; ++c) {
            m_cells[r][c] =
                addResultCell(group, u"limit"_s + QString::fromUtf8(kColumnNames[c]) + RowName(r), kWidestCell);
            grid->addWidget(m_cells[r][c], row, static_cast<int>(c) + 1);
        }
    }
    grid->setColumnStretch(static_cast<int>(kComplianceColumns) + 1, 1);
    column->addLayout(grid);

    m_basis = addLabel(group, QString());
    m_basis->setObjectName(u"limitBasis"_s);
    m_basis->setWordWrap(true);
    column->addWidget(m_basis);
    m_verdict = addLabel(group, QString());
    m_verdict->setObjectName(u"limitVerdict"_s);
    m_verdict->setWordWrap(true);
    column->addWidget(m_verdict);
    return group;
}

void GridCodePage::takeCheck(const ResonanceInputs& in, const ResonanceCheck& result) {
    m_check = in;
    m_result = result;
    clearResults();
    showFlows();
    refreshDemandHint();
}

void GridCodePage::forgetCheck() {
    m_check.reset();
    m_result.reset();
    clearResults();
    showFlows();
    refreshDemandHint();
}

void GridCodePage::takeDefaults(const ResonanceInputs& in) {
    m_pccLevel->setCurrentIndex(static_cast<int>(NearestGbLevel(in.lineVoltage)));
    write(m_minShortCircuit, Ext(in.shortCircuitMva));
}

void GridCodePage::refreshDemandHint() {
    const std::optional<SiteLoad> load = m_load ? m_load() : std::nullopt;
    std::optional<double> current;
    if (load && m_check) {
        try {
            const double power = StoreDouble(readReal(load->activePower));
            const double factor = StoreDouble(readReal(load->powerFactor));
            if (power > 0 && factor > 0 && factor <= 1) {
                current = DemandCurrent(power, m_check->lineVoltage, factor);
            }
        } catch (const CalcFault&) {
            // the compensation page's texts are no numbers now: no hint
        }
    }
    if (current) {
        m_demandHint->setText(u"P/(√3·U·cosφ) = %1 A\n（补偿容量计算页：P = %2 kW，补偿后cosφ = %3）"_s.arg(
            FormatDecimals(*current, 2, m_numbers.decimalSeparator), load->activePower, load->powerFactor));
    } else {
        m_demandHint->setText(u"P/(√3·U·cosφ)：补偿容量计算页计算后\n并校验谐振后，这里给出"_s);
    }
}

void GridCodePage::showFlows() {
    const QChar separator = m_numbers.decimalSeparator;
    if (!m_check) {
        m_source->setText(u"谐波取自“谐振与耐受校验”页：请先在该页校验"_s);
        m_shortCircuitCurrent->setText(u"短路电流ISC = Sk/(√3·U)：校验谐振后给出"_s);
        return;
    }
    m_source->setText(u"谐波取自“谐振与耐受校验”页：U = %1 V，Sk = %2 MVA"_s.arg(
        format(Ext(m_check->lineVoltage)), format(Ext(m_check->shortCircuitMva))));
    const std::optional<double> isc = ShortCircuitCurrent(m_check->lineVoltage, m_check->shortCircuitMva);
    m_shortCircuitCurrent->setText(
        u"短路电流ISC = Sk/(√3·U) = %1 A"_s.arg(isc ? FormatShown(*isc, kShownShortCircuit, separator) : u"—"_s));
}

GridCode GridCodePage::chosenCode() const {
    return m_standard->currentIndex() == 1 ? GridCode::Ieee519 : GridCode::Gb14549;
}

double GridCodePage::positive(const QLineEdit* field, const QString& name, Reading reading) const {
    if (field->text().isEmpty()) {
        refuse(u"请输入"_s + name, reading);
    }
    const double value = StoreDouble(readReal(field));
    if (!(value > 0)) {
        refuse(name + u"必须大于0"_s, reading);
    }
    return value;
}

GridCodeInputs GridCodePage::readInputs(Reading reading) const {
    GridCodeInputs in;
    in.code = chosenCode();
    if (in.code == GridCode::Ieee519) {
        in.maxDemandCurrent = positive(m_demandCurrent, u"最大需量负荷电流IL"_s, reading);
        return in;
    }
    const int level = m_pccLevel->currentIndex();
    if (level < 0 || static_cast<std::size_t>(level) >= kGb14549Table2.size()) {
        refuse(u"请选择公共连接点的电压等级"_s, reading);
    }
    in.gb.pccLevel = static_cast<std::size_t>(level);
    in.gb.minShortCircuitMva = positive(m_minShortCircuit, u"最小短路容量Sk1"_s, reading);
    const bool agreed = !m_agreedCapacity->text().isEmpty();
    const bool supply = !m_supplyCapacity->text().isEmpty();
    if (agreed != supply) {
        refuse(u"请同时输入用户协议容量Si与供电设备容量St，或都不填"_s, reading);
    }
    if (agreed) {
        UserShare share;
        share.agreedMva = positive(m_agreedCapacity, u"用户协议容量Si"_s, reading);
        share.supplyMva = positive(m_supplyCapacity, u"供电设备容量St"_s, reading);
        if (share.agreedMva > share.supplyMva) {
            refuse(u"用户协议容量Si不能大于供电设备容量St"_s, reading);
        }
        in.gb.share = share;
    }
    return in;
}

std::optional<GridCodeInputs> GridCodePage::inputsAsShown() const {
    return quietly([this] { return readInputs(Reading::Quiet); });
}

void GridCodePage::checkClick() {
    clearResults();  // a refused check leaves no figures of earlier inputs
    if (!m_check) {
        notice(u"请先在“谐振与耐受校验”页校验，再校验谐波限值"_s);
        return;
    }
    showCheck(readInputs(Reading::Telling));
}

void GridCodePage::showCheck(const GridCodeInputs& in) {
    clearResults();
    if (!m_check || !m_result) {
        notice(u"请先在“谐振与耐受校验”页校验，再校验谐波限值"_s);
        return;
    }
    const std::optional<ComplianceCheck> compliance = CheckGridCode(FlowsOf(*m_check, *m_result), in);
    if (!compliance) {
        notice(u"输入的数值超出了可计算的范围，请检查输入"_s);
        return;
    }
    showResult(ShowCompliance(in, *compliance, m_numbers.decimalSeparator));
    m_lastCheck = in;
    m_compliance = compliance;
}

void GridCodePage::showResult(const ShownCompliance& shown) {
    m_currentTitle->setText(shown.currentTitle);
    m_voltageTitle->setText(shown.voltageTitle);
    for (std::size_t c = 0; c < kComplianceColumns; ++c) {
        m_headers[c]->setText(shown.headers[c]);
    }
    for (std::size_t r = 0; r < m_cells.size(); ++r) {
        for (std::size_t c = 0; c < kComplianceColumns; ++c) {
            ShowCell(m_cells[r][c], shown.cells[r][c]);
        }
    }
    m_basis->setText(shown.basis.join(u'\n'));
    m_verdict->setText(shown.verdict);
    m_verdict->setPalette(look::withColor(m_verdict->palette(), QPalette::WindowText,
                                          shown.complies ? QColor(Qt::black) : look::kOverLimit));
}

void GridCodePage::clearResults() {
    const bool ieee = chosenCode() == GridCode::Ieee519;
    m_currentTitle->setText(ieee ? u"谐波电流（占IL的%）"_s : u"注入公共连接点的谐波电流（A）"_s);
    m_voltageTitle->setText(u"接入点谐波电压（%）"_s);
    for (std::size_t c = 0; c < kComplianceColumns; ++c) {
        m_headers[c]->setText(c % 3 == 0 ? u"无电容器组"_s : c % 3 == 1 ? u"有电容器组"_s : u"限值"_s);
    }
    for (const auto& row : m_cells) {
        for (QLabel* cell : row) {
            ShowCell(cell, {});
        }
    }
    m_basis->setText(u"按“校验”后，这里给出所依据的表格与行"_s);
    m_verdict->setText(u"结论："_s);
    m_verdict->setPalette(look::withColor(m_verdict->palette(), QPalette::WindowText, Qt::black));
    m_lastCheck.reset();
    m_compliance.reset();
}

void GridCodePage::reportClick() {
    if (!m_lastCheck || !m_check || !m_compliance) {
        notice(u"请先校验，再输出校验报告"_s);
        return;
    }
    // The report is of the figures shown: inputs refused or changed since are told.
    if (readInputs(Reading::Telling) != *m_lastCheck) {
        notice(u"输入已改动，请先校验，再输出校验报告"_s);
        return;
    }
    const QString fileName =
        dialogs().AskSaveFileName(u"输出校验报告"_s, u"谐波校验报告.pdf"_s, {u"PDF文件 (*.pdf)"_s});
    if (fileName.isEmpty()) {
        return;  // cancelled
    }
    const CheckReportContent content{*m_check, *m_result, *m_lastCheck, *m_compliance, m_numbers.decimalSeparator};
    if (!m_writeReport || !m_writeReport(fileName, content)) {
        notice(u"无法写入文件 "_s + QDir::toNativeSeparators(fileName));
    }
}

}  // namespace hcalc
