#include "app/application.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// The test main has called SetUpApplication, as main() does.
TEST(Application, windowsCarryTheProgramsIconAtEverySize) {
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        EXPECT_FALSE(icon.pixmap(size).isNull()) << size;
    }
    EXPECT_EQ(QGuiApplication::desktopFileName(), u"org.quelvaro.hcalc"_s);
}

// Where a designed font is not installed, one of its stand-ins is taken, and it has the Chinese glyphs.
TEST(Application, designFontsResolveToAnInstalledCjkFont) {
    for (const QString& family : {u"宋体"_s, u"MS Sans Serif"_s}) {
        const QFont font(family);
        const QString used = QFontInfo(font).family().toLower();
        EXPECT_TRUE(used == family.toLower() || QFont::substitutes(family).contains(used)) << used.toStdString();
        EXPECT_TRUE(QFontMetrics(font).inFont(u'谐')) << used.toStdString();
    }
}

}  // namespace
}  // namespace hcalc
