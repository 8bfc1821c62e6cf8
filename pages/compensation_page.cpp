#include "pages/compensation_page.h"

#include <QGroupBox>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

CompensationPage::CompensationPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet4"_s, context, parent) {
    addGroup(body(), u"RzGroupBox14"_s, u"补偿容量"_s, QRect(16, 8, 385, 161));
}

}  // namespace hcalc
