#include "report/report_printer.h"

#include "report/paged_text.h"
#include "report/pdf_text_layer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>

#include <cups/cups.h>

#include <memory>

// Printing through CUPS: the report is drawn into a PDF at the default
// printer's paper size, its text layer is set from what was drawn, and
// libcups hands it to the print service as one job.

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

bool printServiceFailed() {
    return cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
}

// What the print service said about the last request of this thread, or
// fallback when it reported no error.
QString printServiceMessage(const QString& fallback) {
    return printServiceFailed() ? QString::fromUtf8(cupsLastErrorString()) : fallback;
}

struct FreeDestination {
    void operator()(cups_dest_t* destination) const { cupsFreeDests(1, destination); }
};
using Destination = std::unique_ptr<cups_dest_t, FreeDestination>;

// The text laid out on pages of the given layout and drawn into a PDF, with
// what was drawn on each page.
QByteArray writePdf(const QTextDocument& text, const QFont& font, const QPageLayout& pageLayout, int resolution,
                    const QString& title, DrawnPages& drawn) {
    QByteArray pdf;
    QBuffer output(&pdf);
    output.open(QIODevice::WriteOnly);
    QPdfWriter writer(&output);
    writer.setResolution(resolution);
    writer.setPageLayout(pageLayout);
    writer.setTitle(title);
    drawn = DrawOnPages(writer, text, font, pageLayout.paintRectPixels(resolution).size());
    return pdf;
}

// Hands the PDF to the print service as one job on the destination, with the
// destination's own options (an instance's, the user's) and the paper it was
// laid out for.
void submit(const cups_dest_t& destination, const QString& title, const QPageSize& paper, const QByteArray& pdf) {
    cups_option_t* options = nullptr;
    int optionCount = 0;
    for (int i = 0; i < destination.num_options; ++i) {
        optionCount = cupsAddOption(destination.options[i].name, destination.options[i].value, optionCount, &options);
    }
    optionCount = cupsAddOption("media", paper.key().toUtf8().constData(), optionCount, &options);
    const QByteArray jobTitle = title.toUtf8();
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, destination.name, jobTitle.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job == 0) {
        FailPrinting(printServiceMessage(u"Printing failed"_s));
    }
    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, destination.name, job, jobTitle.constData(), CUPS_FORMAT_PDF, 1) ==
                HTTP_STATUS_CONTINUE;
    if (sent) {
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), static_cast<size_t>(pdf.size())) ==
               HTTP_STATUS_CONTINUE;
        sent = cupsFinishDocument(CUPS_HTTP_DEFAULT, destination.name) <= IPP_STATUS_OK_EVENTS_COMPLETE && sent;
    }
    if (!sent) {
        // The job would wait for a document that never comes.
        const QString message = printServiceMessage(u"Printing failed"_s);
        cupsCancelJob2(CUPS_HTTP_DEFAULT, destination.name, job, 0);
        FailPrinting(message);
    }
}

}  // namespace

void PrintOnDefaultPrinter(const QTextDocument& text, const QFont& font, const QString& title) {
    // The destination lp would print on: LPDEST or PRINTER, the user's
    // default, the print service's default.
    const Destination destination(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!destination) {
        FailPrinting(u"There is no default printer currently selected"_s);
    }
    QString printerName = QString::fromUtf8(destination->name);
    if (destination->instance != nullptr) {
        printerName += u'/' + QString::fromUtf8(destination->instance);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName);
    if (!printer.isValid()) {
        FailPrinting(printServiceMessage(u"Printer selected is not valid"_s));
    }
    // The printer's paper and its printable area, no margins of our own.
    QPageLayout pageLayout = printer.pageLayout();
    pageLayout.setMargins(pageLayout.minimumMargins());

    DrawnPages drawn;
    const QByteArray pdf = writePdf(text, font, pageLayout, printer.resolution(), title, drawn);
    // Qt's PDF names glyphs by what the font maps to them: a radical for an
    // ideograph, nothing for a glyph that shaping substituted. The text layer
    // is set from what was drawn.
    submit(*destination, title, pageLayout.pageSize(), PdfToPrint(pdf, drawn));
}

}  // namespace hcalc
