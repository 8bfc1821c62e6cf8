#include "report/text_layer.h"

namespace hcalc {

// The Windows build has no qpdf: the PDF stays as Qt wrote it.
QByteArray WithDrawnTextLayer(const QByteArray& pdf, const DrawnPages& /*pages*/) {
    return pdf;
}

}  // namespace hcalc
