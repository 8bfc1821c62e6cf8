#include "pages/installation_page.h"

#include <QGroupBox>
#include <QLineEdit>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kLabelLeft = 8;
constexpr int kFieldLeft = 130;
constexpr int kFieldWidth = 100;
}  // namespace

InstallationPage::InstallationPage(const PageContext& context, QWidget* parent)
    : Page(u"TabSheet5"_s, context, parent) {
    QGroupBox* inputs = addGroup(body(), u"RzGroupBox15"_s, u"输入数据"_s, QRect(16, 8, 321, 217));
    m_totalKvar = addRow(inputs, 24, kLabelLeft, u"需补偿的总无功功率"_s, u"Text320"_s, kFieldLeft, kFieldWidth,
                         u"（KVar）"_s, FieldRole::Input);
    m_phaseVoltage = addRow(inputs, 56, kLabelLeft, u"相电压"_s, u"Text330"_s, kFieldLeft, kFieldWidth, u"（V）"_s,
                            FieldRole::Input);
    m_currents[0] = addRow(inputs, 88, kLabelLeft, u"3次谐波电流"_s, u"Text43"_s, kFieldLeft, kFieldWidth, u"（A）"_s,
                           FieldRole::Input);
    m_currents[1] = addRow(inputs, 120, kLabelLeft, u"5次谐波电流"_s, u"Text340"_s, kFieldLeft, kFieldWidth, u"（A）"_s,
                           FieldRole::Input);
    m_currents[2] = addRow(inputs, 152, kLabelLeft, u"7次谐波电流"_s, u"Text350"_s, kFieldLeft, kFieldWidth, u"（A）"_s,
                           FieldRole::Input);
    m_currents[3] = addRow(inputs, 184, kLabelLeft, u"11次谐波电流"_s, u"Text360"_s, kFieldLeft, kFieldWidth,
                           u"（A）"_s, FieldRole::Input);
    addGroup(body(), u"RzGroupBox17"_s, u"所有计算得到的（Q总/S总）值对比"_s, QRect(440, 8, 321, 217));
    addGroup(body(), u"RzGroupBox18"_s, u"最佳方案"_s, QRect(16, 232, 745, 41), CaptionStyle::Regular);
    addGroup(body(), u"RzGroupBox16"_s, u"输出数据"_s, QRect(16, 280, 745, 161), CaptionStyle::Regular);
}

QString InstallationPage::phaseVoltageText() const {
    return m_phaseVoltage->text();
}

std::array<QString, 4> InstallationPage::harmonicCurrentTexts() const {
    return {m_currents[0]->text(), m_currents[1]->text(), m_currents[2]->text(), m_currents[3]->text()};
}

}  // namespace hcalc
