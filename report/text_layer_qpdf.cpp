#include "report/text_layer.h"

#include "report/pdf_text_layer.h"

#include <QLoggingCategory>

namespace hcalc {

QByteArray WithDrawnTextLayer(const QByteArray& pdf, const DrawnPages& pages) {
    static const QLoggingCategory reports("hcalc.report");
    if (std::optional<QByteArray> mended = MendTextLayer(pdf, pages)) {
        return *std::move(mended);
    }
    qCWarning(reports, "The text layer of the report's PDF could not be set; it is kept as drawn");
    return pdf;
}

}  // namespace hcalc
