#pragma once

#include <QFont>
#include <QString>

class QTextDocument;

namespace hcalc {

// Prints a text document on the system's default printer, without a printer
// dialog, as one job with the given title. The text keeps its paragraphs and
// takes the given font; it is wrapped to the width of the printable area and
// fills that area page after page: no margins of its own, no header, footer
// or page number. No line is cut at a page break: a line that does not fit
// starts the next page (paged_text.h).
//
// One implementation per platform: through CUPS (report_printer_cups.cpp: the
// job is a PDF at the printer's paper size whose text reads back exactly as
// the document's text) and through the Windows print spooler
// (report_printer_windows.cpp).
//
// Stops the running calculation (CalcFault, FaultKind::PrintFailure) when
// there is no default printer, with "There is no default printer currently
// selected", and when the print service fails the job, with its message
// ("Printing failed" where it gives none, as when a page cannot be started).
void PrintOnDefaultPrinter(const QTextDocument& text, const QFont& font, const QString& title);

}  // namespace hcalc
