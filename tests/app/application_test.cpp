#include "app/application.h"

#include <QApplication>
#include <QFont>
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

TEST(Application, substitutesTheInstalledCjkFontsForTheDesignFonts) {
    // Qt keeps substitute names in lower case.
    EXPECT_EQ(QFont::substitutes(u"宋体"_s).value(0), u"noto serif cjk sc"_s);
    EXPECT_EQ(QFont::substitutes(u"MS Sans Serif"_s).value(0), u"noto sans cjk sc"_s);
}

}  // namespace
}  // namespace hcalc
