#include "pages/simple_page.h"

#include <QGroupBox>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

SimplePage::SimplePage(const PageContext& context, QWidget* parent) : Page(u"TabSheet3"_s, context, parent) {
    addGroup(body(), u"RzGroupBox11"_s, u"单项电容容量计算"_s, QRect(16, 8, 417, 129));
    addGroup(body(), u"RzGroupBox12"_s, u"三角连接三相电容容量计算"_s, QRect(16, 152, 417, 129));
    addGroup(body(), u"RzGroupBox13"_s, u"Y连接三相电容容量计算"_s, QRect(16, 296, 417, 129));
    addGroup(body(), u"RzGroupBox23"_s, u"电抗率计算"_s, QRect(448, 8, 313, 217), CaptionStyle::Regular);
}

}  // namespace hcalc
