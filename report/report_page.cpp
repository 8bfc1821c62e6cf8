#include "report/report_page.h"

#include "core/dialogs.h"
#include "report/glyphs.h"
#include "report/report_printer.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QTextEdit>

#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

ReportPage::ReportPage(const PageContext& context, const DesignState& design, std::function<SiteTexts()> siteTexts,
                       QWidget* parent)
    : Page(u"TabSheet7"_s, context, parent),
      m_numbers(context.numbers),
      m_design(design),
      m_siteTexts(std::move(siteTexts)) {
    m_generate = addButton(body(), u"RzBitBtn13"_s, u"方案生成"_s, &ReportPage::RzBitBtn13Click, 89);
    m_generate->setIcon(GlyphIcon(Glyph::CheckedSheet));
    m_generate->setIconSize(QSize(kGlyphSize, kGlyphSize));
    m_print = addButton(body(), u"RzBitBtn15"_s, u"打印方案"_s, &ReportPage::RzBitBtn15Click, 89);
    m_print->setIcon(GlyphIcon(Glyph::Printer));
    m_print->setIconSize(QSize(kGlyphSize, kGlyphSize));

    // The report area fills the page below its two buttons and follows resizes.
    m_report = new QTextEdit(body());
    m_report->setObjectName(u"R"_s);
    m_report->setAccessibleName(u"方案输出"_s);
    m_report->setFont(look::songTi());
    m_report->setAcceptRichText(false);
    m_report->setLineWrapMode(QTextEdit::WidgetWidth);
    m_report->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report->setTabChangesFocus(true);  // Tab moves on to the buttons
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(7);
    layout->addLayout(addButtonLine(QBoxLayout::LeftToRight, 6, 15, {m_generate, m_print}));
    layout->addWidget(m_report);
    setTabChain({m_report, m_generate, m_print});
}

void ReportPage::RzBitBtn13Click() {
    const QStringList lines = SchemeReport(m_siteTexts(), m_design.table, m_numbers.decimalSeparator);
    // One paragraph per line, in the area's own font: the whole content is replaced.
    m_report->setPlainText(lines.join(u'\n'));
}

void ReportPage::RzBitBtn15Click() {
    if (!dialogs().AskConfirm(u"确认打印方案？"_s)) {
        return;
    }
    PrintOnDefaultPrinter(*m_report->document(), m_report->font(), u"方案"_s);
}

}  // namespace hcalc
