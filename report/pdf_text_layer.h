#pragma once

#include "report/paged_text.h"

#include <QByteArray>

#include <optional>

namespace hcalc {

// Makes the text that a reader takes from a PDF written by Qt's PDF engine
// exactly the text that was drawn. Qt names each glyph by the lowest code
// point that the font maps to it (so a Kangxi radical stands for the
// ideograph of the same glyph) and leaves a glyph that shaping substituted
// (a digit in a Latin run) without a name. Here each glyph's ToUnicode entry
// becomes the text most often drawn with that glyph alone, and a piece whose
// glyphs still do not read back as its text (a radical drawn with the glyph
// of its ideograph in the same document, a cluster of several glyphs) gets an
// ActualText span.
//
// Needs the document as drawn: on each page, the glyphs that its text
// objects show are those of `pages`, in the same order. Returns nothing when
// they are not.
std::optional<QByteArray> MendTextLayer(const QByteArray& pdf, const DrawnPages& pages);

// The PDF to print: mended as above, or, where its text layer cannot be set,
// the PDF as Qt wrote it, whose paper is the same (only its text reads back
// less exactly), with a warning in the log.
QByteArray PdfToPrint(const QByteArray& pdf, const DrawnPages& pages);

}  // namespace hcalc
