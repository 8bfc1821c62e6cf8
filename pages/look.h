#pragma once

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QPalette>

namespace hcalc {

// The look of the window and its pages: colours, fonts and the palette that
// keeps every text dark on its light background, whatever palette the desktop
// hands the application.
namespace look {
inline const QColor kMoneyGreen{192, 220, 192};        // pages and group boxes
inline const QColor kResultBackground{255, 255, 225};  // fields that receive results
inline const QColor kOverLimit{170, 0, 0};             // a figure beyond its limit: 6:1 on the result background
inline const QColor kNavy{0, 0, 128};                  // the large group captions
inline const QColor kFrameLine{128, 150, 128};         // the frames of the group boxes
inline constexpr int kPageFontPixels = 13;             // "宋体" 13 pixels: labels, buttons, captions

QFont songTi(int pixels = kPageFontPixels, bool bold = false);

// The window's own palette: every role that the window's widgets paint with,
// in all three colour groups. Texts are black on light backgrounds; disabled
// texts are a mid grey, legible but plainly set apart.
QPalette windowPalette();

// The palette with the given background role set in every colour group.
QPalette withColor(QPalette palette, QPalette::ColorRole role, const QColor& colour);
}  // namespace look

// A group box whose caption is set into the top line of its frame: the frame
// is drawn in kFrameLine, the caption in the group's font and its own colour
// (the palette's window text unless set), which the group's contents do not
// take on.
class FramedGroupBox : public QGroupBox {
    Q_OBJECT

public:
    FramedGroupBox(const QString& title, QWidget* parent);

    void setCaptionColor(const QColor& colour);
    QColor captionColor() const;
    // The caption's rectangle, left in the frame line.
    QRect captionRect() const;
    // The size of the design: the group is never smaller, and larger where
    // its contents need it.
    void setDesignSize(QSize size);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_captionColor;  // invalid: the palette's window text
    QSize m_designSize;
};

}  // namespace hcalc
