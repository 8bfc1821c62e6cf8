#include "pages/capacitor_bank_page.h"

#include <QGroupBox>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

CapacitorBankPage::CapacitorBankPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet2"_s, context, parent) {
    addGroup(body(), u"RzGroupBox8"_s, u"输入数据"_s, QRect(16, 8, 553, 129));
    addGroup(body(), u"RzGroupBox9"_s, u"输出数据(普通)"_s, QRect(16, 144, 753, 161));
    addGroup(body(), u"RzGroupBox10"_s, u"输出数据(偏谐振时)"_s, QRect(16, 312, 753, 161));
}

}  // namespace hcalc
