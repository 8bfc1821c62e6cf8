#pragma once

#include <QIcon>
#include <QImage>

namespace hcalc {

// The button pictures of ImageList1, 16 x 16, in pairs: each drawing followed
// by its greyed form for a disabled button.
enum class Glyph {
    CheckedSheet = 0,  // a sheet of paper with a blue check mark
    Printer = 4,
};

inline constexpr int kGlyphSize = 16;  // pixels

QImage GlyphImage(Glyph glyph);
// The greyed form of a picture: its shapes in light grey, transparency kept.
QImage GreyedGlyph(const QImage& image);
// The drawing for an enabled button and its greyed form for a disabled one.
QIcon GlyphIcon(Glyph glyph);

}  // namespace hcalc
