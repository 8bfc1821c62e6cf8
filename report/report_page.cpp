#include "report/report_page.h"

#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

ReportPage::ReportPage(const PageContext& context, QWidget* parent) : Page(u"TabSheet7"_s, context, parent) {
    m_generate = new QPushButton(u"方案生成"_s, body());
    m_generate->setObjectName(u"RzBitBtn13"_s);
    m_generate->setFont(look::songTi());
    m_generate->setGeometry(16, 8, 89, 25);
    m_print = new QPushButton(u"打印方案"_s, body());
    m_print->setObjectName(u"RzBitBtn15"_s);
    m_print->setFont(look::songTi());
    m_print->setGeometry(120, 8, 89, 25);

    // The report area fills the page below its two buttons and follows resizes.
    m_report = new QTextEdit(body());
    m_report->setObjectName(u"R"_s);
    m_report->setFont(look::songTi());
    m_report->setAcceptRichText(false);
    m_report->setLineWrapMode(QTextEdit::WidgetWidth);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(10, 40, 10, 10);
    layout->addWidget(m_report);

    setDesignSize(QSize(240, 120));  // the report area shrinks with the window
    setTabOrder(m_report, m_generate);
    setTabOrder(m_generate, m_print);
}

}  // namespace hcalc
