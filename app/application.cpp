#include "app/application.h"

#include "core/extended.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStringList>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

void SetUpApplication(QApplication& /*app: created before the set-up*/) {
    SetArithmeticMode();
    QCoreApplication::setApplicationName(u"hcalc"_s);
    // The desktop entry's name, so that the taskbar groups the window under its menu entry and icon.
    QGuiApplication::setDesktopFileName(u"org.quelvaro.hcalc"_s);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(u":/icons/hcalc-%1.png"_s.arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    // One style on every desktop, so that the pages look as designed.
    QApplication::setStyle(u"Fusion"_s);
    // The designed fonts, and where one is missing the CJK fonts that stand in for it: Windows' own
    // (SimSun is "宋体"; Microsoft YaHei comes with every Windows since Vista) and the Noto CJK fonts that
    // Linux distributions ship. The first one installed is taken.
    QFont::insertSubstitutions(u"宋体"_s,
                               {u"SimSun"_s, u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s, u"Microsoft YaHei"_s});
    QFont::insertSubstitutions(
        u"MS Sans Serif"_s, {u"Noto Sans CJK SC"_s, u"Microsoft YaHei"_s, u"Microsoft Sans Serif"_s, u"DejaVu Sans"_s});
}

}  // namespace hcalc
