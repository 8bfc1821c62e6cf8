#include "pages/installation_page.h"

#include <QGroupBox>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

InstallationPage::InstallationPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet5"_s, context, parent) {
    addGroup(body(), u"RzGroupBox15"_s, u"输入数据"_s, QRect(16, 8, 321, 217));
    addGroup(body(), u"RzGroupBox17"_s, u"所有计算得到的（Q总/S总）值对比"_s, QRect(440, 8, 321, 217));
    addGroup(body(), u"RzGroupBox18"_s, u"最佳方案"_s, QRect(16, 232, 745, 41), CaptionStyle::Regular);
    addGroup(body(), u"RzGroupBox16"_s, u"输出数据"_s, QRect(16, 280, 745, 161), CaptionStyle::Regular);
}

}  // namespace hcalc
