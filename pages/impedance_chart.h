#pragma once

#include "core/resonance.h"

#include <QChar>
#include <QPalette>
#include <QRectF>
#include <QWidget>

#include <functional>

#include <vector>

class QPainter;

namespace hcalc {

// |Z| in ohm, on a logarithmic axis, against the harmonic order over the scan:
// the network alone, the bank alone and the two in parallel, with the
// characteristic orders and the parallel resonances marked, axis ticks and a
// legend. It only draws what the check computed, in the colours of its
// palette, at whatever size it is given: on screen, or into an image or a PDF.
class ImpedanceChart final : public QWidget {
    Q_OBJECT

public:
    explicit ImpedanceChart(QWidget* parent = nullptr);

    void setScan(std::vector<ScanPoint> scan, std::vector<ScanPoint> resonances, QChar decimalSeparator);
    void clear();
    bool hasScan() const { return !m_scan.empty(); }
    const std::vector<ScanPoint>& scan() const { return m_scan; }

    // Draws a text into a box as QPainter::drawText(box, flags, text) does.
    using TextDrawer = std::function<void(QPainter&, const QRectF&, int, const QString&)>;
    // Draws the chart into area, in the colours of palette; its texts through
    // `text` where one is given (a report that notes what it draws).
    void draw(QPainter& painter, const QRectF& area, const QPalette& palette, const TextDrawer& text = {}) const;
    // Where the legend stands when the chart fills its widget.
    QRectF legendRect() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ScanPoint> m_scan;
    std::vector<ScanPoint> m_resonances;
    QChar m_separator = u'.';
};

}  // namespace hcalc
