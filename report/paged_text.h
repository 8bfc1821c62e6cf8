#pragma once

#include <QString>

#include <vector>

class QFont;
class QPagedPaintDevice;
class QPainter;
class QPointF;
class QRectF;
class QTextLayout;
class QTextLine;
class QSizeF;
class QTextDocument;

namespace hcalc {

// Consecutive glyphs drawn on a page and the characters they stand for.
struct DrawnText {
    QString text;
    int glyphs = 0;
};

// What was drawn on each page: its glyphs in drawing order, piece by piece.
using DrawnPages = std::vector<std::vector<DrawnText>>;

// Stops the running calculation with a printing failure and its message.
[[noreturn]] void FailPrinting(const QString& message);

// Draws a text document on a paged device (a PDF writer, a printer) as the
// printed report is set: its paragraphs in the given font (sized in screen
// pixels, set in the same size on paper), wrapped to the width of `page`,
// filling pages of that size (device pixels) one after the other, with no
// margins of its own and no line cut at a page break. Returns what was drawn
// on each page. Fails the printing ("Printing failed") when the device
// cannot be painted on or cannot start a new page.
DrawnPages DrawOnPages(QPagedPaintDevice& device, const QTextDocument& text, const QFont& font, const QSizeF& page);

// Draws one line of a laid-out text as DrawOnPages draws a line: its glyphs
// as the layout places them, the layout's origin at `origin`, in the
// painter's pen; and notes what was drawn in `drawn`.
void DrawTextLine(QPainter& painter, const QTextLayout& layout, const QTextLine& line, const QPointF& origin,
                  std::vector<DrawnText>& drawn);

// Draws a text on one line in the painter's font and pen, placed in box as
// QPainter::drawText(box, flags, text) places it by the alignment flags, and
// notes what was drawn in `drawn`.
void DrawTextInBox(QPainter& painter, const QRectF& box, int flags, const QString& text, std::vector<DrawnText>& drawn);

}  // namespace hcalc
