#include "report/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace hcalc {

namespace {

const QColor kOutline{64, 64, 64};
const QColor kPaper{255, 255, 255};
const QColor kTextLine{160, 160, 160};

// A sheet with a folded top right corner and three lines of text.
void drawSheet(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(9.5, 0.5);
    sheet.lineTo(13.5, 4.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF{{9.5, 0.5}, {9.5, 4.5}, {13.5, 4.5}});
    p.setPen(kTextLine);
    for (int y : {4, 6, 8}) {
        p.drawLine(4, y, y == 4 ? 8 : 11, y);
    }
}

void drawCheckMark(QPainter& p) {
    QPen pen(QColor(0, 64, 224), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{4.5, 10.5}, {7.0, 13.0}, {12.5, 7.0}});
}

// A desk printer: paper fed in at the back, the body with a green light, and
// a printed sheet coming out at the front.
void drawPrinter(QPainter& p) {
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 0.5, 8, 6));  // paper in
    p.setBrush(QColor(192, 192, 192));
    p.drawRoundedRect(QRectF(0.5, 5.5, 15, 7), 1.5, 1.5);  // body
    p.setBrush(QColor(128, 128, 128));
    p.drawRect(QRectF(2.5, 9.5, 11, 1));  // paper slot
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 200, 0));
    p.drawRect(QRectF(12, 7, 2, 1.5));  // power light
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 10.5, 9, 5));  // paper out
    p.setPen(kTextLine);
    p.drawLine(5, 12, 11, 12);
    p.drawLine(5, 14, 9, 14);
}

}  // namespace

QImage GlyphImage(Glyph glyph) {
    QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
        case Glyph::CheckedSheet:
            drawSheet(p);
            drawCheckMark(p);
            break;
        case Glyph::Printer:
            drawPrinter(p);
            break;
    }
    return image;
}

QImage GreyedGlyph(const QImage& image) {
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            // Dark shapes become mid grey, light ones near white.
            const int level = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(level, level, level, qAlpha(line[x]));
        }
    }
    return grey;
}

QIcon GlyphIcon(Glyph glyph) {
    const QImage image = GlyphImage(glyph);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(GreyedGlyph(image)), QIcon::Disabled);
    return icon;
}

}  // namespace hcalc
