#include "pages/compensation_page.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kLabelLeft = 16;
constexpr int kFieldLeft = 128;
constexpr int kFieldWidth = 121;

// tan phi from cos phi by a square root and a division, as a double: invalid for |cos phi| > 1, a division by
// zero for cos phi = 0, negative for a negative cos phi.
Ext TangentOf(Ext cosine) {
    return Stored(Sqrt(Ext(1) - cosine * cosine) / cosine);
}
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
    m_result =
        addRow(group, 120, kLabelLeft, u"补偿容量"_s, u"Text74"_s, kFieldLeft, kFieldWidth, {}, FieldRole::Result);
    QPushButton* calculate =
        addButton(group, u"RzBitBtn2"_s, u"计算"_s, QRect(280, 40, 0, 0), &CompensationPage::RzBitBtn2Click);
    QPushButton* clear =
        addButton(group, u"RzBitBtn1"_s, u"清空"_s, QRect(280, 96, 0, 0), &CompensationPage::RzBitBtn1Click);
    setTabOrder(m_activePower, m_targetPf);
    setTabOrder(m_targetPf, m_presentPf);
    setTabOrder(m_presentPf, m_result);
    setTabOrder(m_result, calculate);
    setTabOrder(calculate, clear);
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

void CompensationPage::RzBitBtn2Click() {
    if (anyEmpty({m_activePower, m_targetPf, m_presentPf})) {
        notice(u"请输入完整数据"_s);
        return;
    }
    const Ext p = readReal(m_activePower);
    const Ext targetCos = readReal(m_targetPf);
    const Ext presentCos = readReal(m_presentPf);
    const Ext targetTan = TangentOf(targetCos);
    const Ext presentTan = TangentOf(presentCos);
    const Ext qc = Stored((presentTan - targetTan) * p);  // kvar, P in kW
    write(m_result, qc);
    Q_EMIT wholeCompensationWritten(FormatWhole(TruncateReal(qc)));
}

void CompensationPage::RzBitBtn1Click() {
    m_activePower->clear();
    m_targetPf->clear();
    m_presentPf->clear();
    m_result->clear();
    m_activePower->setFocus();
}

}  // namespace hcalc
