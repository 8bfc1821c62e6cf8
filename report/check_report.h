#pragma once

#include "core/check_texts.h"

#include <QDate>
#include <QString>

#include <functional>

class QPainter;
class QRectF;

namespace hcalc {

// Draws a text into a box as QPainter::drawText(box, flags, text) does.
using ReportTextDrawer = std::function<void(QPainter&, const QRectF&, int, const QString&)>;
// Draws the |Z| chart into an area of the page, its texts through the drawer given.
using ReportChart = std::function<void(QPainter&, const QRectF&, const ReportTextDrawer&)>;

// The check report: an A4 PDF in Chinese with the date and the program's
// version; the network and the branches of the check, the capacitors' duty
// against the limits of IEEE Std 18-2002, the resonances and their warning,
// THD_U without and with the bank, the table of the grid code's limits with
// its verdict, and the |Z| chart as vector graphics. Every text reads as the
// check pages show it, and reads back so from the PDF (text_layer.h).
// False, with no file written, when the file cannot be written.
bool WriteCheckReport(const QString& fileName, const CheckReportContent& content, const QDate& date,
                      const QString& version, const ReportChart& chart);

}  // namespace hcalc
