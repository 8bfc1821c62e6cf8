#include "report/report_printer.h"

#include "report/paged_text.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

// Printing through the Windows print spooler: Qt's print support draws the
// report on the default printer, as one job with the given title.

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

void PrintOnDefaultPrinter(const QTextDocument& text, const QFont& font, const QString& title) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        FailPrinting(u"There is no default printer currently selected"_s);
    }
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    if (!printer.isValid()) {
        FailPrinting(u"Printer selected is not valid"_s);
    }
    printer.setDocName(title);
    // The printer's paper and its printable area, no margins of our own.
    QPageLayout pageLayout = printer.pageLayout();
    pageLayout.setMargins(pageLayout.minimumMargins());
    printer.setPageLayout(pageLayout);

    // A page that the spooler fails stops the drawing with the error box.
    // The pages it took before may still print: Qt's print support cannot
    // withdraw a job on Windows (QPrinter::abort does nothing there).
    DrawOnPages(printer, text, font, printer.pageLayout().paintRectPixels(printer.resolution()).size());
    if (printer.printerState() == QPrinter::Error) {
        FailPrinting(u"Printing failed"_s);
    }
}

}  // namespace hcalc
