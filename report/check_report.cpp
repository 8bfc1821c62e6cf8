#include "report/check_report.h"

#include "core/dialogs.h"
#include "core/extended.h"
#include "core/filter_orders.h"
#include "core/numbers.h"
#include "report/paged_text.h"
#include "report/text_layer.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// Dots per inch of the report's drawing: the fonts' pixel sizes are the
// window's, and a pixel is 1/96 inch on paper too.
constexpr int kResolution = 96;
constexpr qreal kCellPadding = 3;  // pixels each side of a cell's text
constexpr qreal kChartHeight = 420;
constexpr int kBodyPixels = 13;             // the pages' "宋体" 13 pixels
constexpr qreal kLimitSectionHeight = 330;  // about the height of the grid code's section

const QColor kOverLimit{170, 0, 0};

QFont ReportFont(int pixels, bool bold = false) {
    QFont font(u"宋体"_s);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A cell of a table: its text, in red and bold where it exceeds its limit,
// across `span` columns.
struct Cell {
    QString text;
    bool over = false;
    int span = 1;
};
using Row = std::vector<Cell>;

// The report's pages as they fill: a cursor that goes down the page's
// printable area, a new page where what comes next does not fit, and what was
// drawn on each page.
class Sheet {
public:
    explicit Sheet(QPdfWriter& writer)
        : m_writer(writer), m_area(writer.pageLayout().paintRectPixels(kResolution)), m_drawn(1) {}

    bool begin() { return m_painter.begin(&m_writer); }
    bool end() { return m_painter.end() && m_pageOk; }
    QPainter& painter() { return m_painter; }
    DrawnPages& drawn() { return m_drawn; }
    qreal width() const { return m_area.width(); }
    qreal top() const { return m_y; }
    void skip(qreal height) { m_y += height; }

    // Room for `height` below the cursor: a new page when the rest of this one is too short.
    void room(qreal height) {
        if (m_y > 0 && m_y + height > m_area.height()) {
            m_pageOk = m_writer.newPage() && m_pageOk;
            m_drawn.emplace_back();
            m_y = 0;
        }
    }

    // A text drawn through the page's notes of what was drawn.
    void text(const QRectF& box, int flags, const QString& text) {
        DrawTextInBox(m_painter, box, flags, text, m_drawn.back());
    }

    // A paragraph wrapped to the width at the cursor, line by line onto the pages.
    void paragraph(const QString& text, const QFont& font, const QColor& colour = Qt::black, qreal indent = 0) {
        m_painter.setFont(font);
        m_painter.setPen(colour);
        const std::unique_ptr<QTextLayout> layout = laidOut(text, font, width() - indent);
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            room(line.height());
            DrawTextLine(m_painter, *layout, line, QPointF(indent, m_y - line.y()), m_drawn.back());
            m_y += line.height();
        }
        m_y += 4;
    }

    // A table at the cursor: the columns' widths, the header rows first. A
    // row that does not fit below starts the next page.
    void table(const std::vector<qreal>& widths, const std::vector<Row>& rows, std::size_t headerRows) {
        const QFont plain = ReportFont(kBodyPixels);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const bool header = r < headerRows;
            // The cells' layouts and the row's height.
            std::vector<std::unique_ptr<QTextLayout>> layouts;
            std::vector<QRectF> boxes;
            qreal height = 0;
            std::size_t column = 0;
            qreal x = 0;
            for (const Cell& cell : rows[r]) {
                const auto span = static_cast<std::size_t>(cell.span);
                const qreal w = std::accumulate(widths.begin() + static_cast<std::ptrdiff_t>(column),
                                                widths.begin() + static_cast<std::ptrdiff_t>(column + span), 0.0);
                QFont font = plain;
                font.setBold(cell.over);
                layouts.push_back(laidOut(cell.text, font, w - 2 * kCellPadding));
                height = std::max(height, layouts.back()->boundingRect().height() + 2 * kCellPadding);
                boxes.emplace_back(x, 0, w, 0);
                x += w;
                column += span;
            }
            room(height);
            for (std::size_t c = 0; c < boxes.size(); ++c) {
                const Cell& cell = rows[r][c];
                const QRectF box(boxes[c].left(), m_y, boxes[c].width(), height);
                m_painter.setPen(QPen(Qt::black, 0.75));
                m_painter.setBrush(header ? QColor(235, 235, 235) : QColor(Qt::white));
                m_painter.drawRect(box);
                m_painter.setPen(cell.over ? kOverLimit : QColor(Qt::black));
                m_painter.setFont(layouts[c]->font());
                const QTextLayout& layout = *layouts[c];
                const qreal textHeight = layout.boundingRect().height();
                for (int i = 0; i < layout.lineCount(); ++i) {
                    const QTextLine line = layout.lineAt(i);
                    const qreal free = box.width() - 2 * kCellPadding - line.naturalTextWidth();
                    // Headers and captions centred or left, figures right.
                    const qreal shift = header ? free / 2 : (c == 0 ? 0 : free);
                    const QPointF origin(box.left() + kCellPadding + shift, box.top() + (height - textHeight) / 2);
                    DrawTextLine(m_painter, layout, line, origin, m_drawn.back());
                }
            }
            m_y += height;
        }
        m_y += 8;
    }

private:
    std::unique_ptr<QTextLayout> laidOut(const QString& text, const QFont& font, qreal width) {
        auto layout = std::make_unique<QTextLayout>(text, font, &m_writer);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout->setTextOption(option);
        layout->beginLayout();
        qreal y = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout->endLayout();
        return layout;
    }

    QPdfWriter& m_writer;
    QPainter m_painter;
    QRect m_area;
    DrawnPages m_drawn;
    qreal m_y = 0;
    bool m_pageOk = true;
};

QString Plain(double value, QChar separator) {
    return FormatReal(Ext(value), separator);
}

void Heading(Sheet& sheet, const QString& text) {
    sheet.room(60);  // a heading starts no page's last lines
    sheet.skip(6);
    sheet.paragraph(text, ReportFont(15, true));
}

void NetworkSection(Sheet& sheet, const CheckReportContent& c) {
    const QChar sep = c.separator;
    Heading(sheet, u"一、电网与滤波支路"_s);
    sheet.paragraph(
        u"电网：线电压U = %1 V，短路容量Sk = %2 MVA，电网X/R = %3"_s.arg(
            Plain(c.check.lineVoltage, sep), Plain(c.check.shortCircuitMva, sep), Plain(c.check.xOverR, sep)),
        ReportFont(kBodyPixels));
    std::vector<Row> rows{{{u"支路"_s},
                           {u"电容器额定电压UR（V）"_s},
                           {u"电容器额定容量QR（kvar）"_s},
                           {u"电抗率p（%）"_s},
                           {u"电抗器品质因数q"_s},
                           {u"负载谐波电流Ih（A）"_s}}};
    for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
        const BranchRating& b = c.check.branches[j];
        const QString current = Plain(c.check.harmonicCurrents[j], sep);
        if (!b.present) {
            rows.push_back(
                {{OrderName(kFilterOrders[j]) + u"支路"_s}, {u"无支路"_s}, {u"—"_s}, {u"—"_s}, {u"—"_s}, {current}});
        } else {
            rows.push_back({{OrderName(kFilterOrders[j]) + u"支路"_s},
                            {Plain(b.ratedVoltage, sep)},
                            {Plain(b.ratedKvar, sep)},
                            {Plain(b.reactanceRatioPct, sep)},
                            {b.reactanceRatioPct > 0 ? Plain(b.qualityFactor, sep) : u"—"_s},
                            {current}});
        }
    }
    const qreal w = sheet.width();
    sheet.table({w * 0.1, w * 0.14, w * 0.21, w * 0.21, w * 0.14, w * 0.2}, rows, 1);
}

void DutySection(Sheet& sheet, const ShownResonanceCheck& shown) {
    Heading(sheet, u"二、电容器耐受校验（限值依据IEEE Std 18-2002）"_s);
    Row header{{u"项目"_s}, {u"限值"_s}};
    for (int h : kFilterOrders) {
        header.push_back({OrderName(h)});
    }
    std::vector<Row> rows{header};
    for (std::size_t r = 0; r < kCheckResultRows; ++r) {
        const QString limit = CheckRowLimit(r);
        Row row{{QString::fromUtf8(kCheckResultCaptions[r])}, {limit.isEmpty() ? u"—"_s : limit}};
        for (const ShownCell& cell : shown.cells[r]) {
            row.push_back({cell.text, cell.over});
        }
        rows.push_back(row);
    }
    const qreal w = sheet.width();
    sheet.table({w * 0.28, w * 0.1, w * 0.155, w * 0.155, w * 0.155, w * 0.155}, rows, 1);
}

void ResonanceSection(Sheet& sheet, const ShownResonanceCheck& shown) {
    Heading(sheet, u"三、并联谐振"_s);
    const QFont font = ReportFont(kBodyPixels);
    sheet.paragraph(shown.resonances, font);
    sheet.paragraph(shown.warning, font, shown.warned ? kOverLimit : QColor(Qt::black));
    if (!shown.warningBasis.isEmpty()) {
        sheet.paragraph(shown.warningBasis, font);
    }
    Heading(sheet, u"四、接入点电压总谐波畸变率"_s);
    sheet.paragraph(shown.distortion, font);
}

void LimitSection(Sheet& sheet, const CheckReportContent& c) {
    const ShownCompliance shown = ShowCompliance(c.limits, c.compliance, c.separator);
    // The table, the tables and rows it used and its verdict on one page, where they fit on one.
    sheet.room(kLimitSectionHeight);
    Heading(sheet, u"五、谐波限值校验（%1）"_s.arg(GridCodeName(c.compliance.code)));
    std::vector<Row> rows{{{u"次数"_s}, {shown.currentTitle, false, 3}, {shown.voltageTitle, false, 3}}};
    Row headers{{QString()}};
    for (const QString& h : shown.headers) {
        headers.push_back({h});
    }
    rows.push_back(headers);
    for (std::size_t r = 0; r < shown.rowCaptions.size(); ++r) {
        Row row{{shown.rowCaptions[r]}};
        for (const ShownCell& cell : shown.cells[r]) {
            row.push_back({cell.text, cell.over});
        }
        rows.push_back(row);
    }
    const qreal w = sheet.width();
    const qreal figure = w * 0.88 / 6;
    sheet.table({w * 0.12, figure, figure, figure, figure, figure, figure}, rows, 2);
    const QFont font = ReportFont(kBodyPixels);
    for (const QString& line : shown.basis) {
        sheet.paragraph(line, font);
    }
    sheet.paragraph(shown.verdict, ReportFont(kBodyPixels, true), shown.complies ? QColor(Qt::black) : kOverLimit);
}

void ChartSection(Sheet& sheet, const ReportChart& chart) {
    sheet.room(kChartHeight + 60);
    Heading(sheet, u"六、接入点阻抗与谐波次数"_s);
    const QRectF area(0, sheet.top(), sheet.width(), kChartHeight);
    if (chart) {
        chart(sheet.painter(), area,
              [&sheet](QPainter&, const QRectF& box, int flags, const QString& text) { sheet.text(box, flags, text); });
    }
    sheet.skip(kChartHeight);
}

}  // namespace

bool WriteCheckReport(const QString& fileName, const CheckReportContent& content, const QDate& date,
                      const QString& version, const ReportChart& chart) {
    QByteArray pdf;
    DrawnPages drawn;
    {
        QBuffer output(&pdf);
        output.open(QIODevice::WriteOnly);
        QPdfWriter writer(&output);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 12, 18, 12),
                                         QPageLayout::Millimeter));
        writer.setTitle(u"谐波校验报告"_s);
        writer.setCreator(ApplicationTitle() + u" "_s + version);
        Sheet sheet(writer);
        if (!sheet.begin()) {
            return false;
        }
        sheet.painter().setRenderHint(QPainter::Antialiasing);
        sheet.paragraph(u"谐波校验报告"_s, ReportFont(20, true));
        sheet.paragraph(u"%1 %2　　%3"_s.arg(ApplicationTitle(), version, date.toString(u"yyyy年M月d日"_s)),
                        ReportFont(kBodyPixels));
        const ShownResonanceCheck shown = ShowResonanceCheck(content.check, content.result, content.separator);
        NetworkSection(sheet, content);
        DutySection(sheet, shown);
        ResonanceSection(sheet, shown);
        LimitSection(sheet, content);
        ChartSection(sheet, chart);
        drawn = sheet.drawn();
        if (!sheet.end()) {
            return false;
        }
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(WithDrawnTextLayer(pdf, drawn));
    return file.commit();
}

}  // namespace hcalc
