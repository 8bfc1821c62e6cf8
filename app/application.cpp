#include "app/application.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

QString ApplicationTitle() {
    return u"谐波计算软件"_s;
}

void SetUpApplication(QApplication& /*app: created before the set-up*/) {
    QCoreApplication::setApplicationName(u"hcalc"_s);
    // One style on every desktop, so that the pages look as designed.
    QApplication::setStyle(u"Fusion"_s);
    QFont::insertSubstitutions(u"宋体"_s, {u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s});
    QFont::insertSubstitutions(u"MS Sans Serif"_s, {u"Noto Sans CJK SC"_s, u"DejaVu Sans"_s});
}

}  // namespace hcalc
