#include "report/paged_text.h"

#include "core/fault.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <limits>
#include <memory>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The fonts of the window are sized in pixels of a 96 pixels-per-inch
// screen; on paper the same font has 72/96 of that size in points.
constexpr qreal kPointsPerScreenPixel = 72.0 / 96.0;

// A glyph of a font, as the layout gives it.
struct Glyph {
    QRawFont font;
    quint32 index = 0;
    bool operator==(const Glyph&) const = default;
};

std::vector<Glyph> glyphsOf(const QList<QGlyphRun>& runs) {
    std::vector<Glyph> glyphs;
    for (const QGlyphRun& run : runs) {
        for (const quint32 index : run.glyphIndexes()) {
            glyphs.push_back({run.rawFont(), index});
        }
    }
    return glyphs;
}

// Whether two glyph runs of a line draw a glyph in common: a ligature that
// stands for characters of both.
bool shareAGlyph(const QList<QGlyphRun>& a, const QList<QGlyphRun>& b) {
    for (const QGlyphRun& x : a) {
        for (const QGlyphRun& y : b) {
            if (x.rawFont() != y.rawFont()) {
                continue;
            }
            const QList<quint32> xGlyphs = x.glyphIndexes();
            const QList<quint32> yGlyphs = y.glyphIndexes();
            const QList<QPointF> xPositions = x.positions();
            const QList<QPointF> yPositions = y.positions();
            for (qsizetype i = 0; i < xGlyphs.size(); ++i) {
                for (qsizetype j = 0; j < yGlyphs.size(); ++j) {
                    if (xGlyphs[i] == yGlyphs[j] && xPositions[i] == yPositions[j]) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

// The characters of a line in pieces, each with the glyphs that stand for
// it: a character with its combining marks, or several that share a glyph.
// A piece without glyphs goes with the next one (a zero-width joiner, a soft
// hyphen), or is left out when it is white space, which reads back from the
// gap it leaves. The pieces come from left to right, as the line is drawn,
// and their glyphs in that order are given too.
std::vector<DrawnText> piecesOf(const QTextLayout& layout, const QString& text, const QTextLine& line,
                                std::vector<Glyph>& glyphs) {
    struct Piece {
        int from;
        int to;
        QList<QGlyphRun> runs;
    };
    const int end = line.textStart() + line.textLength();
    std::vector<Piece> pieces;
    for (int from = line.textStart(); from < end;) {
        const int to = std::clamp(layout.nextCursorPosition(from), from + 1, end);
        QList<QGlyphRun> runs = line.glyphRuns(from, to - from);
        if (!pieces.empty() && shareAGlyph(pieces.back().runs, runs)) {
            pieces.back().to = to;
            pieces.back().runs = line.glyphRuns(pieces.back().from, to - pieces.back().from);
        } else {
            pieces.push_back({from, to, std::move(runs)});
        }
        from = to;
    }
    struct Drawn {
        QString text;
        std::vector<Glyph> glyphs;
        qreal left;
    };
    std::vector<Drawn> drawn;
    QString unseen;
    for (const Piece& piece : pieces) {
        const QString characters = text.mid(piece.from, piece.to - piece.from);
        std::vector<Glyph> pieceGlyphs = glyphsOf(piece.runs);
        if (pieceGlyphs.empty()) {
            if (!characters.trimmed().isEmpty()) {
                unseen += characters;
            }
            continue;
        }
        qreal left = std::numeric_limits<qreal>::max();
        for (const QGlyphRun& run : piece.runs) {
            for (const QPointF& position : run.positions()) {
                left = std::min(left, position.x());
            }
        }
        drawn.push_back({unseen + characters, std::move(pieceGlyphs), left});
        unseen.clear();
    }
    if (!drawn.empty()) {
        drawn.back().text += unseen;
    }
    // Right-to-left text is drawn from its end.
    std::stable_sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.left < b.left; });
    std::vector<DrawnText> texts;
    for (const Drawn& piece : drawn) {
        texts.push_back({piece.text, static_cast<int>(piece.glyphs.size())});
        glyphs.insert(glyphs.end(), piece.glyphs.begin(), piece.glyphs.end());
    }
    return texts;
}

// Draws one line of a laid-out paragraph as the layout places its glyphs,
// and notes which characters its glyphs stand for: the font alone cannot
// tell (one glyph may serve an ideograph and a radical, shaping substitutes
// glyphs that no character maps to). Piece by piece where the pieces' glyphs
// are the line's in the order drawn, else the line's text for all of them.
void drawLine(QPainter& painter, const QTextLayout& layout, const QString& text, const QTextLine& line,
              QPointF position, std::vector<DrawnText>& drawn) {
    const QList<QGlyphRun> runs = line.glyphRuns();
    for (const QGlyphRun& run : runs) {
        if (!run.glyphIndexes().isEmpty()) {
            painter.drawGlyphRun(position, run);
        }
    }
    const std::vector<Glyph> lineGlyphs = glyphsOf(runs);
    if (lineGlyphs.empty()) {
        return;
    }
    std::vector<Glyph> pieceGlyphs;
    const std::vector<DrawnText> pieces = piecesOf(layout, text, line, pieceGlyphs);
    if (pieceGlyphs == lineGlyphs) {
        drawn.insert(drawn.end(), pieces.begin(), pieces.end());
    } else {
        drawn.push_back({text.mid(line.textStart(), line.textLength()), static_cast<int>(lineGlyphs.size())});
    }
}

}  // namespace

void DrawTextLine(QPainter& painter, const QTextLayout& layout, const QTextLine& line, const QPointF& origin,
                  std::vector<DrawnText>& drawn) {
    drawLine(painter, layout, layout.text(), line, origin, drawn);
}

void DrawTextInBox(QPainter& painter, const QRectF& box, int flags, const QString& text,
                   std::vector<DrawnText>& drawn) {
    QTextLayout layout(text, painter.font(), painter.device());
    QTextOption option = layout.textOption();
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;  // no text
    }
    line.setLineWidth(box.width());
    layout.endLayout();
    const qreal width = line.naturalTextWidth();
    qreal x = box.left();
    if ((flags & Qt::AlignRight) != 0) {
        x = box.right() - width;
    } else if ((flags & Qt::AlignHCenter) != 0) {
        x = box.center().x() - width / 2;
    }
    qreal y = box.top();
    if ((flags & Qt::AlignBottom) != 0) {
        y = box.bottom() - line.height();
    } else if ((flags & Qt::AlignVCenter) != 0) {
        y = box.center().y() - line.height() / 2;
    }
    DrawTextLine(painter, layout, line, QPointF(x, y), drawn);
}

void FailPrinting(const QString& message) {
    throw CalcFault(FaultKind::PrintFailure, message);
}

DrawnPages DrawOnPages(QPagedPaintDevice& device, const QTextDocument& text, const QFont& font, const QSizeF& page) {
    // A copy of the text laid out for the paper: the device's resolution,
    // the printable width, pages of the printable height.
    const std::unique_ptr<QTextDocument> document(text.clone());
    document->documentLayout()->setPaintDevice(&device);
    QFont paperFont = font;
    if (font.pixelSize() > 0) {
        paperFont.setPointSizeF(font.pixelSize() * kPointsPerScreenPixel);
    }
    document->setDefaultFont(paperFont);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);  // a long word wraps too, nothing runs off
    document->setDefaultTextOption(option);
    document->setDocumentMargin(0);
    document->setPageSize(page);  // the layout moves a line that would cross a page break to the next page
    // The layout of a long text goes on in the background; the page count
    // needs, and so finishes, all of it.
    document->pageCount();

    QPainter painter;
    if (!painter.begin(&device)) {
        FailPrinting(u"Printing failed"_s);
    }
    painter.setPen(Qt::black);
    // Each line is drawn once, on its own page: no part of a neighbouring
    // page is drawn outside the page and clipped.
    DrawnPages drawn(1);
    int pageIndex = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QString blockText = block.text();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int linePage = static_cast<int>((layout->position().y() + line.y()) / page.height());
            while (pageIndex < linePage) {
                // Fails when the print service fails the page (the Windows
                // spooler's EndPage or StartPage): the job ends unfinished.
                if (!device.newPage()) {
                    FailPrinting(u"Printing failed"_s);
                }
                drawn.emplace_back();
                ++pageIndex;
            }
            drawLine(painter, *layout, blockText, line, layout->position() - QPointF(0, pageIndex * page.height()),
                     drawn.back());
        }
    }
    if (!painter.end()) {
        FailPrinting(u"Printing failed"_s);
    }
    return drawn;
}

}  // namespace hcalc
