#pragma once

#include <QColor>
#include <QPalette>

namespace hcalc::test {

// The palette a dark desktop theme hands the application: light texts on dark
// backgrounds, as Qt receives it from a dark KDE or GNOME theme.
inline QPalette DarkDesktopPalette() {
    QPalette palette(QColor(53, 53, 53));  // buttons
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = group == QPalette::Disabled ? QColor(127, 127, 127) : QColor(239, 240, 241);
        palette.setColor(group, QPalette::Window, QColor(42, 46, 50));
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, QColor(27, 30, 32));
        palette.setColor(group, QPalette::AlternateBase, QColor(35, 38, 41));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, QColor(49, 54, 59));
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::ToolTipBase, QColor(49, 54, 59));
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::Highlight, QColor(61, 174, 233));
        palette.setColor(group, QPalette::HighlightedText, QColor(252, 252, 252));
        palette.setColor(group, QPalette::PlaceholderText, QColor(161, 169, 177));
    }
    return palette;
}

}  // namespace hcalc::test
