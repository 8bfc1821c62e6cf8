#include "pages/look.h"

#include <QPainter>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kCaptionLeft = 7;     // the caption's distance from the frame's left edge
constexpr int kCaptionPadding = 2;  // clear space either side of the caption in the frame line

}  // namespace

QFont look::songTi(int pixels, bool bold) {
    QFont font(u"宋体"_s);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QPalette look::windowPalette() {
    const QColor face(240, 240, 240);       // window and buttons
    const QColor disabledText(90, 90, 90);  // 6:1 on the button face, grey beside black
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? disabledText : QColor(Qt::black);
        palette.setColor(group, QPalette::Window, face);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, disabled ? face : QColor(Qt::white));
        palette.setColor(group, QPalette::AlternateBase, QColor(245, 245, 245));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::PlaceholderText, disabledText);
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::BrightText, QColor(Qt::white));
        palette.setColor(group, QPalette::Light, QColor(Qt::white));
        palette.setColor(group, QPalette::Midlight, QColor(227, 227, 227));
        palette.setColor(group, QPalette::Mid, QColor(160, 160, 160));
        palette.setColor(group, QPalette::Dark, QColor(160, 160, 160));
        palette.setColor(group, QPalette::Shadow, QColor(105, 105, 105));
        palette.setColor(group, QPalette::Highlight, disabled ? QColor(145, 145, 145) : QColor(0, 90, 180));
        palette.setColor(group, QPalette::HighlightedText, QColor(Qt::white));
        palette.setColor(group, QPalette::ToolTipBase, kResultBackground);
        palette.setColor(group, QPalette::ToolTipText, QColor(Qt::black));
        palette.setColor(group, QPalette::Link, QColor(0, 0, 200));
        palette.setColor(group, QPalette::LinkVisited, QColor(110, 0, 140));
    }
    return palette;
}

QPalette look::withColor(QPalette palette, QPalette::ColorRole role, const QColor& colour) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, role, colour);
    }
    return palette;
}

FramedGroupBox::FramedGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void FramedGroupBox::setCaptionColor(const QColor& colour) {
    m_captionColor = colour;
    update();
}

QColor FramedGroupBox::captionColor() const {
    return m_captionColor.isValid() ? m_captionColor : palette().color(QPalette::WindowText);
}

QRect FramedGroupBox::captionRect() const {
    const QFontMetrics metrics(font());
    return {kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding, metrics.height()};
}

void FramedGroupBox::setDesignSize(QSize size) {
    m_designSize = size;
    updateGeometry();
}

QSize FramedGroupBox::sizeHint() const {
    return QGroupBox::sizeHint().expandedTo(m_designSize);
}

QSize FramedGroupBox::minimumSizeHint() const {
    return QGroupBox::minimumSizeHint().expandedTo(m_designSize);
}

void FramedGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect caption = captionRect();
    // The frame's top line runs through the middle of the caption, on the centre of a whole pixel row.
    const int middle = caption.height() / 2;
    const QRectF frame = QRectF(rect()).adjusted(0.5, middle + 0.5, -0.5, -0.5);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(look::kFrameLine);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame, 2, 2);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(caption, palette().brush(QPalette::Window));
    painter.setPen(isEnabled() ? captionColor() : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

}  // namespace hcalc
