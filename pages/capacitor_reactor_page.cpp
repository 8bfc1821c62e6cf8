#include "pages/capacitor_reactor_page.h"

#include <QGroupBox>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

CapacitorReactorPage::CapacitorReactorPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet1"_s, context, parent) {
    QGroupBox* capacitor =
        addGroup(body(), u"RzGroupBox1"_s, u"电容器计算"_s, QRect(16, 8, 313, 433), CaptionStyle::NavyLarge);
    addGroup(capacitor, u"RzGroupBox2"_s, u"输入数据"_s, QRect(8, 24, 297, 121));
    addGroup(capacitor, u"RzGroupBox3"_s, u"输出数据"_s, QRect(8, 200, 297, 161));
    QGroupBox* reactor =
        addGroup(body(), u"RzGroupBox4"_s, u"电抗器计算"_s, QRect(336, 8, 425, 433), CaptionStyle::NavyLarge);
    addGroup(reactor, u"RzGroupBox5"_s, u"输入数据"_s, QRect(8, 24, 289, 97));
    addGroup(reactor, u"RzGroupBox6"_s, u"输出数据(电感偏谐振率为0)"_s, QRect(8, 136, 289, 137));
    addGroup(reactor, u"RzGroupBox7"_s, u"电感偏谐振"_s, QRect(8, 288, 289, 137));
}

}  // namespace hcalc
