#include "report/report_printer.h"

#include "core/fault.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cups/cups.h>

#include <memory>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The fonts of the window are sized in pixels of a 96 pixels-per-inch
// screen; on paper the same font has 72/96 of that size in points.
constexpr qreal kPointsPerScreenPixel = 72.0 / 96.0;

[[noreturn]] void failPrinting(const QString& message) {
    throw CalcFault(FaultKind::PrintFailure, message);
}

// What the print service said about the last request of this thread, or
// fallback when it reported no error. Qt hands the job to CUPS when the
// painter ends but does not tell whether CUPS took it.
[[noreturn]] void failPrintService(const QString& fallback) {
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        failPrinting(QString::fromUtf8(cupsLastErrorString()));
    }
    failPrinting(fallback);
}

bool printServiceFailed() {
    return cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
}

}  // namespace

void PrintOnDefaultPrinter(const QTextDocument& text, const QFont& font, const QString& title) {
    const QString printerName = QPrinterInfo::defaultPrinterName();
    if (printerName.isEmpty()) {
        failPrinting(u"There is no default printer currently selected"_s);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName);
    if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat) {
        failPrintService(u"Printer selected is not valid"_s);
    }
    // The printable area of the paper, no margins of Qt's own (it sets 10 pt
    // by default): painter coordinates start at its top left corner.
    printer.setFullPage(false);
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
    printer.setDocName(title);

    // A copy of the text laid out for the paper: the printer's resolution,
    // the printable width, pages of the printable height.
    const std::unique_ptr<QTextDocument> document(text.clone());
    document->documentLayout()->setPaintDevice(&printer);
    QFont paperFont = font;
    if (font.pixelSize() > 0) {
        paperFont.setPointSizeF(font.pixelSize() * kPointsPerScreenPixel);
    }
    document->setDefaultFont(paperFont);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);  // a long word wraps too, nothing runs off
    document->setDefaultTextOption(option);
    document->setDocumentMargin(0);
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    document->setPageSize(page);  // the layout moves a line that would cross a page break to the next page
    // The layout of a long text goes on in the background; the page count
    // needs, and so finishes, all of it.
    document->pageCount();

    QPainter painter;
    if (!painter.begin(&printer)) {
        failPrintService(u"Printing failed"_s);
    }
    painter.setPen(Qt::black);
    // Each line is drawn once, on its own page: no part of a neighbouring
    // page is drawn outside the page and clipped.
    int pageIndex = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int linePage = static_cast<int>((layout->position().y() + line.y()) / page.height());
            while (pageIndex < linePage) {
                printer.newPage();  // cannot fail while the painter is active
                ++pageIndex;
            }
            line.draw(&painter, layout->position() - QPointF(0, pageIndex * page.height()));
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error || printServiceFailed()) {
        failPrintService(u"Printing failed"_s);
    }
}

}  // namespace hcalc
