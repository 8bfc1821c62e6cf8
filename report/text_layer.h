#pragma once

#include "report/paged_text.h"

#include <QByteArray>

namespace hcalc {

// A PDF that Qt's PDF engine wrote, as it is kept: with its text layer set
// from what was drawn (pdf_text_layer.h), so that its text reads back exactly
// as drawn, where the build has qpdf (Linux); as Qt wrote it where it has
// none (Windows) or where the layer cannot be set (with a warning in the
// log): the pages look the same, only their text reads back less exactly.
QByteArray WithDrawnTextLayer(const QByteArray& pdf, const DrawnPages& pages);

}  // namespace hcalc
