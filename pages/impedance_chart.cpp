#include "pages/impedance_chart.h"

#include "core/filter_orders.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kMostDecades = 7;    // below that, a curve runs along the bottom edge
constexpr int kLabelledTicks = 5;  // every 5th order is labelled, and the ends of the scan

bool Labelled(int order) {
    return order == kScanFirstOrder || order == kScanLastOrder || order % kLabelledTicks == 0;
}
constexpr double kSampleLength = 26;  // the line sample of a legend entry, pixels

QColor Mix(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * share),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * share),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * share));
}

// The three curves, dark on a light background and light on a dark one; each
// also has its own line style, so that they part in a grey print.
struct Curves {
    QPen network;
    QPen bank;
    QPen combined;
    QColor warning;
};

Curves CurvesOn(const QColor& background) {
    const bool light = background.lightnessF() > 0.5;
    Curves c;
    c.network = QPen(light ? QColor(0, 90, 180) : QColor(120, 175, 255), 1.6, Qt::DashLine);
    c.bank = QPen(light ? QColor(0, 120, 60) : QColor(100, 205, 130), 1.6, Qt::DashDotLine);
    c.combined = QPen(light ? QColor(185, 0, 0) : QColor(255, 120, 105), 2.4, Qt::SolidLine);
    c.warning = c.combined.color();
    return c;
}

struct LegendEntry {
    QString text;
    QPen pen;
    bool marker;
};

std::vector<LegendEntry> LegendEntries(const Curves& curves) {
    return {
        {u"电网"_s, curves.network, false},
        {u"电容器组"_s, curves.bank, false},
        {u"电网与电容器组并联（接入点）"_s, curves.combined, false},
        {u"并联谐振点"_s, curves.combined, true},
    };
}

const QString kAxisTitle = u"|Z|（Ω）"_s;

// Where the legend starts: right of the axis title.
double LegendLeft(const QRectF& area, const QFontMetricsF& fm) {
    return area.left() + 8 + fm.horizontalAdvance(kAxisTitle) + fm.horizontalAdvance(u"中"_s);
}

// The legend entries laid out left to right from `left`, wrapping at `right`:
// where each entry starts, and the height they take.
std::pair<std::vector<QPointF>, double> LayOutLegend(const std::vector<LegendEntry>& entries, const QFontMetricsF& fm,
                                                     double left, double right, double top) {
    std::vector<QPointF> at;
    double x = left;
    double y = top;
    const double gap = fm.horizontalAdvance(u"中"_s);
    for (const LegendEntry& e : entries) {
        const double width = kSampleLength + 6 + fm.horizontalAdvance(e.text);
        if (x > left && x + width > right) {
            x = left;
            y += fm.height() + 2;
        }
        at.emplace_back(x, y);
        x += width + gap;
    }
    return {at, y + fm.height() - top};
}

}  // namespace

ImpedanceChart::ImpedanceChart(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ImpedanceChart::setScan(std::vector<ScanPoint> scan, std::vector<ScanPoint> resonances, QChar decimalSeparator) {
    m_scan = std::move(scan);
    m_resonances = std::move(resonances);
    m_separator = decimalSeparator;
    update();
}

void ImpedanceChart::clear() {
    m_scan.clear();
    m_resonances.clear();
    update();
}

QSize ImpedanceChart::minimumSizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(u"0"_s) * 48, fm.height() * 14};
}

QSize ImpedanceChart::sizeHint() const {
    return minimumSizeHint() * 3 / 2;
}

void ImpedanceChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    draw(painter, QRectF(rect()), palette());
}

QRectF ImpedanceChart::legendRect() const {
    const QFontMetricsF fm(font());
    const QRectF area(rect());
    const double left = LegendLeft(area, fm);
    const double height = LayOutLegend(LegendEntries(CurvesOn(palette().color(QPalette::Base))), fm, left,
                                       area.right() - 8, area.top() + 4)
                              .second;
    return {left, area.top() + 4, area.right() - 8 - left, height};
}

void ImpedanceChart::draw(QPainter& painter, const QRectF& area, const QPalette& palette,
                          const TextDrawer& text) const {
    const auto drawText = [&](const QRectF& box, int flags, const QString& label) {
        if (text) {
            text(painter, box, flags, label);
        } else {
            painter.drawText(box, flags, label);
        }
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    const QFontMetricsF fm(font());
    const QColor background = palette.color(QPalette::Base);
    const QColor ink = palette.color(QPalette::Text);
    const Curves curves = CurvesOn(background);
    painter.fillRect(area, background);

    // Top band: the axis title, then the legend.
    const std::vector<LegendEntry> entries = LegendEntries(curves);
    const auto [legendAt, legendHeight] =
        LayOutLegend(entries, fm, LegendLeft(area, fm), area.right() - 8, area.top() + 4);

    // The y axis labels: decades of ohm.
    int low = 0;
    int high = 1;
    bool any = false;
    double least = 0;
    double most = 0;
    for (const ScanPoint& p : m_scan) {
        for (double v : {p.network, p.bank, p.combined}) {
            if (v > 0) {
                least = any ? std::min(least, v) : v;
                most = any ? std::max(most, v) : v;
                any = true;
            }
        }
    }
    for (const ScanPoint& p : m_resonances) {
        most = std::max(most, p.combined);
    }
    if (any) {
        high = static_cast<int>(std::ceil(std::log10(most)));
        low = static_cast<int>(std::floor(std::log10(least)));
        if (high <= low) {
            high = low + 1;
        }
        low = std::max(low, high - kMostDecades);
    }
    std::vector<std::pair<int, QString>> decades;
    double widestLabel = 0;
    for (int k = low; k <= high; ++k) {
        double value = 1;
        for (int i = 0; i < k; ++i) {
            value = value * 10;
        }
        for (int i = 0; i > k; --i) {
            value = value / 10;
        }
        decades.emplace_back(k, FormatSignificant(value, 1, m_separator));
        widestLabel = std::max(widestLabel, fm.horizontalAdvance(decades.back().second));
    }

    const QRectF plot(area.left() + widestLabel + 14, area.top() + 4 + legendHeight + fm.height() * 0.6,
                      area.width() - widestLabel - 14 - 16,
                      area.height() - 4 - legendHeight - fm.height() * 0.6 - 2 * fm.height() - 10);
    if (plot.width() < 40 || plot.height() < 40) {
        painter.restore();
        return;
    }
    const auto xAt = [&plot](double order) {
        return plot.left() + (order - kScanFirstOrder) / (kScanLastOrder - kScanFirstOrder) * plot.width();
    };
    const auto yAt = [&plot, low, high](double ohm) {
        return plot.bottom() - (std::log10(ohm) - low) / (high - low) * plot.height();
    };

    // Grid: the decades and their steps, the order ticks.
    const QColor minorGrid = Mix(background, ink, 0.08);
    const QColor majorGrid = Mix(background, ink, 0.22);
    painter.setPen(QPen(minorGrid, 1));
    for (int k = low; k < high; ++k) {
        for (int step = 2; step <= 9; ++step) {
            const double y = plot.bottom() - (k - low + std::log10(step)) / (high - low) * plot.height();
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
    }
    painter.setPen(QPen(majorGrid, 1));
    for (const auto& [k, label] : decades) {
        const double y = plot.bottom() - double(k - low) / (high - low) * plot.height();
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    for (int order = kScanFirstOrder; order <= kScanLastOrder; ++order) {
        if (Labelled(order)) {
            painter.drawLine(QPointF(xAt(order), plot.top()), QPointF(xAt(order), plot.bottom()));
        }
    }

    // The characteristic orders, dotted, numbered inside the top edge.
    const QColor characteristic = Mix(background, ink, 0.55);
    for (int order : kCharacteristicOrders) {
        painter.setPen(QPen(characteristic, 1, Qt::DotLine));
        painter.drawLine(QPointF(xAt(order), plot.top()), QPointF(xAt(order), plot.bottom()));
    }

    // The curves.
    painter.save();
    painter.setClipRect(plot.adjusted(-1, -1, 1, 1));
    const auto curve = [&](double ScanPoint::*value, const QPen& pen) {
        QPainterPath path;
        bool started = false;
        for (const ScanPoint& p : m_scan) {
            const double v = p.*value;
            if (v <= 0) {
                started = false;
                continue;
            }
            const QPointF at(xAt(p.order), std::min(yAt(v), plot.bottom() + 2));
            if (started) {
                path.lineTo(at);
            } else {
                path.moveTo(at);
                started = true;
            }
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    };
    curve(&ScanPoint::network, curves.network);
    curve(&ScanPoint::bank, curves.bank);
    curve(&ScanPoint::combined, curves.combined);
    painter.restore();

    // The characteristic orders' numbers inside the top edge, over the curves.
    std::vector<QRectF> taken;
    for (int order : kCharacteristicOrders) {
        const QString label = QString::number(order);
        QRectF box(0, 0, fm.horizontalAdvance(label) + 4, fm.height());
        box.moveCenter(QPointF(xAt(order), plot.top() + fm.height() / 2 + 1));
        painter.fillRect(box, background);
        painter.setPen(ink);
        drawText(box, Qt::AlignCenter, label);
        taken.push_back(box);
    }

    // The resonances: a ring on the combined curve, its order beside it where
    // no other label or ring stands.
    std::vector<QPointF> rings;
    for (const ScanPoint& p : m_resonances) {
        rings.emplace_back(xAt(p.order), std::clamp(yAt(p.combined), plot.top(), plot.bottom()));
        painter.setPen(QPen(curves.warning, 1.8));
        painter.setBrush(background);
        painter.drawEllipse(rings.back(), 4.5, 4.5);
    }
    for (std::size_t i = 0; i < m_resonances.size(); ++i) {
        const QString label = FormatDecimals(m_resonances[i].order, 2, m_separator);
        const QSizeF size(fm.horizontalAdvance(label) + 4, fm.height());
        const QPointF at = rings[i];
        QRectF box;
        bool placed = false;
        for (double lift : {0.0, 1.0, 2.0, 3.0, -1.0, -2.0}) {
            for (const QPointF& corner :
                 {QPointF(at.x() + 6, at.y() - 3 - size.height()),
                  QPointF(at.x() - 6 - size.width(), at.y() - 3 - size.height()), QPointF(at.x() + 6, at.y() + 3),
                  QPointF(at.x() - 6 - size.width(), at.y() + 3)}) {
                box = QRectF(corner - QPointF(0, lift * size.height()), size);
                const bool inside = plot.contains(box);
                const bool free =
                    std::none_of(taken.begin(), taken.end(), [&box](const QRectF& t) { return t.intersects(box); }) &&
                    std::none_of(rings.begin(), rings.end(),
                                 [&box](const QPointF& r) { return box.adjusted(-5, -5, 5, 5).contains(r); });
                if (inside && free) {
                    placed = true;
                    break;
                }
            }
            if (placed) {
                break;
            }
        }
        if (!placed) {
            box = QRectF(QPointF(at.x() + 6, at.y() - 3 - size.height()), size);
        }
        taken.push_back(box);
        // Half see-through: the label stays legible, a curve behind it still shows.
        QColor veil = background;
        veil.setAlphaF(0.7F);
        painter.fillRect(box, veil);
        painter.setPen(ink);
        drawText(box, Qt::AlignCenter, label);
    }

    // Axes, ticks and their labels, titles.
    painter.setPen(QPen(ink, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    for (const auto& [k, label] : decades) {
        const double y = plot.bottom() - double(k - low) / (high - low) * plot.height();
        painter.drawLine(QPointF(plot.left() - 4, y), QPointF(plot.left(), y));
        drawText(QRectF(area.left() + 4, y - fm.height() / 2, widestLabel + 4, fm.height()),
                 Qt::AlignRight | Qt::AlignVCenter, label);
    }
    for (int order = kScanFirstOrder; order <= kScanLastOrder; ++order) {
        const bool labelled = Labelled(order);
        painter.drawLine(QPointF(xAt(order), plot.bottom()), QPointF(xAt(order), plot.bottom() + (labelled ? 5 : 3)));
        if (labelled) {
            const QString label = QString::number(order);
            drawText(QRectF(xAt(order) - 20, plot.bottom() + 5, 40, fm.height()), Qt::AlignCenter, label);
        }
    }
    drawText(QRectF(plot.left(), plot.bottom() + 5 + fm.height(), plot.width(), fm.height()), Qt::AlignCenter,
             u"谐波次数 n（虚点线：特征谐波次数）"_s);
    drawText(QRectF(area.left() + 4, area.top() + 4, fm.horizontalAdvance(kAxisTitle) + 4, fm.height()),
             Qt::AlignLeft | Qt::AlignVCenter, kAxisTitle);

    // The legend.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LegendEntry& e = entries[i];
        const QPointF at = legendAt[i];
        const double middle = at.y() + fm.height() / 2;
        if (e.marker) {
            painter.setPen(QPen(e.pen.color(), 1.8));
            painter.setBrush(background);
            painter.drawEllipse(QPointF(at.x() + kSampleLength / 2, middle), 4.5, 4.5);
        } else {
            painter.setPen(e.pen);
            painter.drawLine(QPointF(at.x(), middle), QPointF(at.x() + kSampleLength, middle));
        }
        painter.setPen(ink);
        drawText(QRectF(at.x() + kSampleLength + 6, at.y(), fm.horizontalAdvance(e.text) + 2, fm.height()),
                 Qt::AlignLeft | Qt::AlignVCenter, e.text);
    }

    if (m_scan.empty()) {
        painter.setPen(ink);
        drawText(plot, Qt::AlignCenter, u"按“校验”后，这里画出接入点的阻抗曲线"_s);
    }
    painter.restore();
}

}  // namespace hcalc
