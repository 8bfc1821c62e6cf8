#include "pages/compensation_page.h"

#include "core/compensation.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kCaptionWidth = 108;
constexpr int kButtonGap = 24;  // between the fields, which have no units, and the buttons
}  // namespace

CompensationPage::CompensationPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet4"_s, context, parent) {
    QGroupBox* group = addGroup(body(), u"RzGroupBox14"_s, u"补偿容量"_s, QSize(385, 161));
    const Form form = addForm(group, {kCaptionWidth});
    m_activePower = addRow(form, 0, 0, u"有功功率"_s, u"Text71"_s, {}, FieldRole::Input);
    m_targetPf = addRow(form, 1, 0, u"目标功率因数"_s, u"Text72"_s, {}, FieldRole::Input);
    m_presentPf = addRow(form, 2, 0, u"目前功率因数"_s, u"Text73"_s, {}, FieldRole::Input);
    m_result = addRow(form, 3, 0, u"补偿容量"_s, u"Text74"_s, {}, FieldRole::Result);
    QPushButton* calculate = addButton(group, u"RzBitBtn2"_s, u"计算"_s, &CompensationPage::RzBitBtn2Click);
    QPushButton* clear = addButton(group, u"RzBitBtn1"_s, u"清空"_s, &CompensationPage::RzBitBtn1Click);
    // Right of the rows, each between two of them.
    form.grid->setColumnMinimumWidth(form.gridColumn(0) + 2, kButtonGap);
    form.grid->addWidget(calculate, 0, form.trailingColumn(), 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    form.grid->addWidget(clear, 2, form.trailingColumn(), 2, 1, Qt::AlignLeft | Qt::AlignVCenter);

    auto* page = new QGridLayout(body());
    page->setContentsMargins(16, 8, 16, 8);
    page->addWidget(group, 0, 0);
    page->setColumnStretch(1, 1);
    page->setRowStretch(1, 1);

    setTabChain({m_activePower, m_targetPf, m_presentPf, m_result, calculate, clear});
    nameFieldsUniquely();
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

QString CompensationPage::compensationText() const {
    return m_result->text();
}

void CompensationPage::RzBitBtn2Click() {
    requireFilled({m_activePower, m_targetPf, m_presentPf}, u"请输入完整数据"_s);
    const Ext p = readReal(m_activePower);
    const Ext targetCos = readReal(m_targetPf);
    const Ext presentCos = readReal(m_presentPf);
    const Ext qc = CompensationKvar(p, targetCos, presentCos);
    write(m_result, qc);
    Q_EMIT wholeCompensationWritten(FormatWhole(TruncateReal(qc)));
}

void CompensationPage::RzBitBtn1Click() {
    clearFields({m_activePower, m_targetPf, m_presentPf, m_result}, m_activePower);
}

}  // namespace hcalc
