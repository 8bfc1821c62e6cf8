#include "pages/compensation_page.h"

#include <QGroupBox>
#include <QLineEdit>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kLabelLeft = 16;
constexpr int kFieldLeft = 128;
constexpr int kFieldWidth = 121;
}  // namespace

CompensationPage::CompensationPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet4"_s, context, parent) {
    QGroupBox* group = addGroup(body(), u"RzGroupBox14"_s, u"补偿容量"_s, QRect(16, 8, 385, 161));
    m_activePower =
        addRow(group, 24, kLabelLeft, u"有功功率"_s, u"Text71"_s, kFieldLeft, kFieldWidth, {}, FieldRole::Input);
    m_targetPf =
        addRow(group, 56, kLabelLeft, u"目标功率因数"_s, u"Text72"_s, kFieldLeft, kFieldWidth, {}, FieldRole::Input);
    m_presentPf =
        addRow(group, 88, kLabelLeft, u"目前功率因数"_s, u"Text73"_s, kFieldLeft, kFieldWidth, {}, FieldRole::Input);
}

QString CompensationPage::activePowerText() const {
    return m_activePower->text();
}
QString CompensationPage::presentPowerFactorText() const {
    return m_presentPf->text();
}
QString CompensationPage::targetPowerFactorText() const {
    return m_targetPf->text();
}

}  // namespace hcalc
