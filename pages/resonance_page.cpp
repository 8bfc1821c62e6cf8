#include "pages/resonance_page.h"

#include "core/calculation.h"
#include "core/check_texts.h"
#include "core/dialogs.h"
#include "core/fault.h"
#include "core/filter_orders.h"
#include "pages/impedance_chart.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>

#include <algorithm>
#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double kDefaultXOverR = 10;
constexpr double kDefaultQuality = 50;
constexpr int kResultRows = static_cast<int>(kCheckResultRows);
constexpr int kFirstBranchRow = 3;  // of the input grid: headers and fields of the network, then the branches' headers
constexpr int kSavedWidth = 960;    // the saved picture's size in the page's pixels, drawn at twice the resolution
constexpr int kSavedHeight = 600;
constexpr int kPdfResolution = 96;  // dots per inch: the chart's pixel fonts keep their screen size on paper

// The names of the result rows' cells, after kCheckResultCaptions.
const std::array<const char*, kCheckResultRows> kResultNames{
    "checkTuning",        "checkRmsVoltage", "checkPeakVoltage",    "checkRmsCurrent",
    "checkReactivePower", "checkShare",      "checkVoltageWithout", "checkVoltageWith",
};

// A result cell is as wide as "999.9 超限", the widest text of the usual
// values, and wider while it shows a longer one.
const QString kWidestCell = u"999.9 超限"_s;

void ShowCell(QLabel* cell, const QString& text, bool over = false) {
    Page::showResultCell(cell, text, over, kWidestCell);
}

}  // namespace

ResonancePage::ResonancePage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet8"_s, context, parent), m_numbers(context.numbers) {
    QGroupBox* inputs = addInputGroup();
    QGroupBox* results = addResultGroup();

    QPushButton* check = addButton(body(), u"checkCalculate"_s, u"校验"_s, &ResonancePage::checkClick, 90);
    QPushButton* save = addButton(body(), u"checkSave"_s, u"保存曲线"_s, &ResonancePage::saveClick, 90);
    QPushButton* clear = addButton(body(), u"checkClear"_s, u"清空"_s, &ResonancePage::clearClick, 90);

    auto* chartGroup = addGroup(body(), u"checkChartGroup"_s, u"接入点阻抗与谐波次数"_s, QSize(0, 0));
    m_chart = new ImpedanceChart(chartGroup);
    m_chart->setObjectName(u"checkChart"_s);
    m_chart->setFont(look::songTi());
    m_chart->setAccessibleName(u"阻抗曲线：电网、电容器组及两者并联的|Z|随谐波次数变化"_s);
    auto* chartLayout = new QVBoxLayout(chartGroup);
    chartLayout->setContentsMargins(8, 6, 8, 8);
    chartLayout->addWidget(m_chart);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(16);
    middle->addWidget(inputs);
    middle->addLayout(addButtonLine(QBoxLayout::TopToBottom, 24, 7, {check, save, clear}));
    middle->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(7);
    bottom->addWidget(results);
    bottom->addWidget(chartGroup, 1);
    auto* page = new QVBoxLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->setSpacing(7);
    page->addLayout(middle);
    page->addLayout(bottom, 1);

    std::vector<QWidget*> tabChain{m_lineVoltage, m_shortCircuit, m_xOverR, m_transformerRating, m_impedanceVoltage};
    for (const BranchFields& b : m_branches) {
        tabChain.insert(tabChain.end(), {b.ratedVoltage, b.ratedKvar, b.ratio, b.quality, b.current});
    }
    tabChain.insert(tabChain.end(), {check, save, clear});
    setTabChain(tabChain);
    clearClick();
    nameFieldsUniquely();
}

QGroupBox* ResonancePage::addInputGroup() {
    QGroupBox* group = addGroup(body(), u"checkInputs"_s, u"电网与滤波支路"_s, QSize(0, 0));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(7);
    // One column per quantity: its header (name, symbol, unit) above its fields.
    struct Column {
        const char* name;  // also the field's name for screen readers, after the branch's order
        const char* unit;
        const char* field;
    };
    const auto addColumn = [&](int row, int column, const Column& c, const QString& order) {
        if (order.isEmpty() || order == OrderName(kFilterOrders.front())) {
            const QString unit = QString::fromUtf8(c.unit);
            QLabel* header =
                addLabel(group, QString::fromUtf8(c.name) + (unit.isEmpty() ? QString() : u"（"_s + unit + u"）"_s));
            grid->addWidget(header, row - 1, column, Qt::AlignCenter);
        }
        const QString number = order.isEmpty()
                                   ? QString()
                                   : QString::number(kFilterOrders[static_cast<std::size_t>(row - kFirstBranchRow)]);
        QLineEdit* field = addField(group, QString::fromUtf8(c.field) + number, FieldRole::Input);
        field->setAccessibleName(order.isEmpty() ? QString::fromUtf8(c.name)
                                                 : order + u"支路"_s + QString::fromUtf8(c.name));
        field->setAccessibleDescription(QString::fromUtf8(c.unit));
        grid->addWidget(field, row, column);
        return field;
    };

    // clang-format off
    const std::array<Column, 5> network{{
        {"线电压U",      "V",   "checkLineVoltage"},
        {"短路容量Sk",   "MVA", "checkShortCircuit"},
        {"电网X/R",      "",    "checkXOverR"},
        {"变压器容量ST", "kVA", "checkTransformerRating"},
        {"阻抗电压uk",   "%",   "checkImpedanceVoltage"},
    }};
    const std::array<Column, 5> branch{{
        {"电容器额定电压UR", "V",    "checkRatedVoltage"},
        {"电容器额定容量QR", "kvar", "checkRatedKvar"},
        {"电抗率p",          "%",    "checkRatio"},
        {"电抗器品质因数q",  "",     "checkQuality"},
        {"负载谐波电流Ih",   "A",    "checkCurrent"},
    }};
    // clang-format on
    grid->addWidget(addLabel(group, u"电网"_s), 1, 0);
    std::array<QLineEdit*, 5> fields{};
    for (std::size_t c = 0; c < network.size(); ++c) {
        fields[c] = addColumn(1, static_cast<int>(c) + 1, network[c], QString());
    }
    m_lineVoltage = fields[0];
    m_shortCircuit = fields[1];
    m_xOverR = fields[2];
    m_transformerRating = fields[3];
    m_impedanceVoltage = fields[4];
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        const int row = kFirstBranchRow + static_cast<int>(j);
        const QString order = OrderName(kFilterOrders[j]);
        grid->addWidget(addLabel(group, order + u"支路"_s), row, 0);
        for (std::size_t c = 0; c < branch.size(); ++c) {
            fields[c] = addColumn(row, static_cast<int>(c) + 1, branch[c], order);
        }
        m_branches[j] = {fields[0], fields[1], fields[2], fields[3], fields[4]};
    }
    QLabel* note = addLabel(group, u"Sk空缺时取变压器的 Sk = ST/(10·uk)；电容器额定容量空缺或为0的支路不计。"_s);
    grid->addWidget(note, kFirstBranchRow + static_cast<int>(kFilterOrders.size()), 0, 1, 6);
    return group;
}

QGroupBox* ResonancePage::addResultGroup() {
    QGroupBox* group =
        addGroup(body(), u"checkResults"_s, u"校验结果（电容器耐受限值依据IEEE Std 18-2002）"_s, QSize(0, 0));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(addLabel(group, u"限值"_s), 0, 1, Qt::AlignCenter);
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        grid->addWidget(addLabel(group, OrderName(kFilterOrders[j])), 0, static_cast<int>(j) + 2, Qt::AlignCenter);
    }
    std::array<std::array<QLabel*, 4>, kCheckResultRows> cells{};
    for (std::size_t row = 0; row < kCheckResultRows; ++row) {
        const int r = static_cast<int>(row);
        QLabel* caption = addLabel(group, QString::fromUtf8(kCheckResultCaptions[row]));
        grid->addWidget(caption, r + 1, 0);
        if (const QString limit = CheckRowLimit(row); !limit.isEmpty()) {
            grid->addWidget(addLabel(group, limit), r + 1, 1, Qt::AlignCenter);
        }
        for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
            cells[row][j] = addResultCell(
                group, QString::fromUtf8(kResultNames[row]) + QString::number(kFilterOrders[j]), kWidestCell);
            cells[row][j]->setAccessibleName(OrderName(kFilterOrders[j]) + caption->text());
            grid->addWidget(cells[row][j], r + 1, static_cast<int>(j) + 2);
        }
    }
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        m_results[j] = {
            cells[0][j], {cells[1][j], cells[2][j], cells[3][j], cells[4][j]}, cells[5][j], cells[6][j], cells[7][j]};
    }

    const auto summary = [&](const QString& name, int row) {
        QLabel* label = addLabel(group, QString());
        label->setObjectName(name);
        grid->addWidget(label, row, 0, 1, 6);
        return label;
    };
    m_resonances = summary(u"checkResonances"_s, kResultRows + 1);
    m_distortion = summary(u"checkDistortion"_s, kResultRows + 3);
    // The warning, and beside it what a warning is given for.
    m_warning = addLabel(group, QString());
    m_warning->setObjectName(u"checkWarning"_s);
    m_warningBasis = addLabel(group, QString());
    m_warningBasis->setObjectName(u"checkWarningBasis"_s);
    auto* warningLine = new QHBoxLayout;
    warningLine->setSpacing(0);
    warningLine->addWidget(m_warning);
    warningLine->addWidget(m_warningBasis);
    warningLine->addStretch();
    grid->addLayout(warningLine, kResultRows + 2, 0, 1, 6);
    grid->setRowStretch(kResultRows + 4, 1);
    return group;
}

void ResonancePage::takeLineVoltage(const QString& text) {
    writeText(m_lineVoltage, text);
}

void ResonancePage::takeHarmonicCurrents(const std::array<QString, 4>& texts) {
    for (std::size_t j = 0; j < m_branches.size(); ++j) {
        writeText(m_branches[j].current, texts[j]);
    }
}

void ResonancePage::takeChosenCapacitors(int order, const QString& ratedVoltage, const QString& ratedKvar) {
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        if (kFilterOrders[j] == order) {
            writeText(m_branches[j].ratedVoltage, ratedVoltage);
            writeText(m_branches[j].ratedKvar, ratedKvar);
        }
    }
}

double ResonancePage::required(const QLineEdit* field, const QString& name, Bound bound, Reading reading) const {
    if (field->text().isEmpty()) {
        refuse(u"请输入"_s + name, reading);
    }
    const double value = StoreDouble(readReal(field));
    const bool inBound = bound == Bound::Positive      ? value > 0
                         : bound == Bound::NotNegative ? value >= 0
                                                       : value >= 0 && value < 100;
    if (!inBound) {
        refuse(name + (bound == Bound::Positive      ? u"必须大于0"_s
                       : bound == Bound::NotNegative ? u"不能小于0"_s
                                                     : u"必须不小于0且小于100"_s),
               reading);
    }
    return value;
}

ResonanceInputs ResonancePage::readInputs(Reading reading) const {
    ResonanceInputs in;
    in.lineVoltage = required(m_lineVoltage, u"线电压U"_s, Bound::Positive, reading);
    if (!m_shortCircuit->text().isEmpty()) {
        in.shortCircuitMva = required(m_shortCircuit, u"短路容量Sk"_s, Bound::Positive, reading);
    } else if (m_transformerRating->text().isEmpty() && m_impedanceVoltage->text().isEmpty()) {
        // Without the network there is no resonance to find, and no finite impedance to divide by.
        refuse(u"请输入电网的短路容量Sk，或变压器容量ST与阻抗电压uk"_s, reading);
    } else {
        const double rating = required(m_transformerRating, u"变压器容量ST"_s, Bound::Positive, reading);
        const double uk = required(m_impedanceVoltage, u"阻抗电压uk"_s, Bound::Positive, reading);
        in.shortCircuitMva = TransformerShortCircuitMva(rating, uk);
    }
    in.xOverR = required(m_xOverR, u"电网X/R"_s, Bound::Positive, reading);

    bool anyBranch = false;
    for (std::size_t j = 0; j < m_branches.size(); ++j) {
        const BranchFields& f = m_branches[j];
        const QString branch = OrderName(kFilterOrders[j]) + u"支路的"_s;
        BranchRating& b = in.branches[j];
        b.ratedKvar = f.ratedKvar->text().isEmpty()
                          ? 0
                          : required(f.ratedKvar, branch + u"电容器额定容量QR"_s, Bound::NotNegative, reading);
        b.present = b.ratedKvar > 0;
        if (b.present) {
            b.ratedVoltage = required(f.ratedVoltage, branch + u"电容器额定电压UR"_s, Bound::Positive, reading);
            b.reactanceRatioPct = required(f.ratio, branch + u"电抗率p"_s, Bound::Ratio, reading);
            if (b.reactanceRatioPct > 0) {
                b.qualityFactor = required(f.quality, branch + u"电抗器品质因数q"_s, Bound::Positive, reading);
            }
        }
        in.harmonicCurrents[j] =
            required(f.current, OrderName(kFilterOrders[j]) + u"负载谐波电流Ih"_s, Bound::NotNegative, reading);
        anyBranch = anyBranch || b.present;
    }
    if (!anyBranch) {
        refuse(u"请至少输入一条支路的电容器额定容量QR"_s, reading);
    }
    return in;
}

std::optional<ResonanceInputs> ResonancePage::inputsAsShown() const {
    return quietly([this] { return readInputs(Reading::Quiet); });
}

void ResonancePage::checkClick() {
    clearResults();  // a refused check leaves no results of earlier inputs
    showCheck(readInputs(Reading::Telling));
    if (m_lastCheck) {
        Q_EMIT checkedByUser(*m_lastCheck);
    }
}

void ResonancePage::showCheck(const ResonanceInputs& in) {
    clearResults();
    const std::optional<ResonanceCheck> result = CheckResonance(in);
    if (!result) {
        notice(u"输入的数值超出了可计算的范围，请检查输入"_s);
        return;
    }
    showResult(in, *result);
    m_lastCheck = in;
    Q_EMIT checkShown(in, *result);
}

void ResonancePage::showResult(const ResonanceInputs& in, const ResonanceCheck& result) {
    const ShownResonanceCheck shown = ShowResonanceCheck(in, result, m_numbers.decimalSeparator);
    for (std::size_t j = 0; j < m_results.size(); ++j) {
        const ResultColumn& column = m_results[j];
        const std::array<QLabel*, kCheckResultRows> cells{column.tuning,         column.duty[0],    column.duty[1],
                                                          column.duty[2],        column.duty[3],    column.share,
                                                          column.voltageWithout, column.voltageWith};
        for (std::size_t row = 0; row < cells.size(); ++row) {
            ShowCell(cells[row], shown.cells[row][j].text, shown.cells[row][j].over);
        }
    }
    m_resonances->setText(shown.resonances);
    // The warning in red; beside it, in black, what it is given for.
    m_warning->setText(shown.warning);
    m_warningBasis->setText(shown.warningBasis);
    m_warning->setPalette(look::withColor(m_warning->palette(), QPalette::WindowText,
                                          shown.warned ? look::kOverLimit : QColor(Qt::black)));
    m_distortion->setText(shown.distortion);
    m_chart->setScan(result.scan, result.resonances, m_numbers.decimalSeparator);
}

void ResonancePage::clearResults() {
    for (const ResultColumn& column : m_results) {
        for (QLabel* cell : {column.tuning, column.duty[0], column.duty[1], column.duty[2], column.duty[3],
                             column.share, column.voltageWithout, column.voltageWith}) {
            ShowCell(cell, QString());
        }
    }
    m_resonances->setText(ResonancesCaption());
    m_warning->clear();
    m_warningBasis->clear();
    m_distortion->setText(DistortionCaption());
    m_chart->clear();
    m_lastCheck.reset();
    Q_EMIT checkEmptied();
}

void ResonancePage::clearClick() {
    std::vector<QLineEdit*> fields{m_lineVoltage, m_shortCircuit, m_transformerRating, m_impedanceVoltage};
    for (const BranchFields& b : m_branches) {
        fields.insert(fields.end(), {b.ratedVoltage, b.ratedKvar, b.current});
    }
    clearFields(fields);
    // The defaults: a network X/R of 10, exactly tuned reactors (p = 100 / h²) of quality 50.
    write(m_xOverR, Ext(kDefaultXOverR));
    for (std::size_t j = 0; j < m_branches.size(); ++j) {
        const int h = kFilterOrders[j];
        write(m_branches[j].ratio, Ext(100) / Ext(h * h));
        write(m_branches[j].quality, Ext(kDefaultQuality));
    }
    clearResults();
    m_lineVoltage->setFocus();
}

void ResonancePage::saveClick() {
    if (!m_lastCheck) {
        notice(u"请先校验，再保存阻抗曲线"_s);
        return;
    }
    if (inputsAsShown() != m_lastCheck) {
        notice(u"输入已改动，请先校验，再保存阻抗曲线"_s);
        return;
    }
    const QString fileName = dialogs().AskSaveFileName(
        u"保存阻抗曲线"_s, u"阻抗曲线.png"_s,
        {u"PNG图片 (*.png)"_s, u"PDF文件（矢量图） (*.pdf)"_s, u"CSV表格（扫描数据） (*.csv)"_s});
    if (fileName.isEmpty()) {
        return;  // cancelled
    }
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    bool saved = false;
    if (suffix == u"png"_s) {
        saved = savePng(fileName);
    } else if (suffix == u"pdf"_s) {
        saved = savePdf(fileName);
    } else if (suffix == u"csv"_s) {
        saved = saveCsv(fileName);
    } else {
        notice(u"文件名须以 .png、.pdf 或 .csv 结尾"_s);
        return;
    }
    if (!saved) {
        notice(u"无法写入文件 "_s + QDir::toNativeSeparators(fileName));
    }
}

bool ResonancePage::savePng(const QString& fileName) const {
    QImage image(QSize(kSavedWidth, kSavedHeight) * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    QPainter painter(&image);
    m_chart->draw(painter, QRectF(0, 0, kSavedWidth, kSavedHeight), m_chart->palette());
    painter.end();
    return image.save(fileName, "PNG");
}

bool ResonancePage::savePdf(const QString& fileName) const {
    QPdfWriter writer(fileName);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
    writer.setTitle(u"接入点阻抗与谐波次数"_s);
    writer.setCreator(ApplicationTitle());
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    const QRect area = writer.pageLayout().paintRectPixels(kPdfResolution);
    m_chart->draw(painter, QRectF(0, 0, area.width(), area.height()), m_chart->palette());
    return painter.end();
}

bool ResonancePage::saveCsv(const QString& fileName) const {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // UTF-8 with its byte order mark, so that spreadsheet programs read the Chinese header.
    file.write("\xEF\xBB\xBF");
    file.write(ScanCsv(m_chart->scan(), m_numbers.decimalSeparator).toUtf8());
    return file.commit();
}

}  // namespace hcalc
