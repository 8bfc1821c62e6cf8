#pragma once

#include <QString>

#include <vector>

class QFont;
class QPagedPaintDevice;
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

}  // namespace hcalc
