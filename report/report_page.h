#pragma once

#include "core/filter_bank_table.h"
#include "pages/page.h"
#include "report/scheme_report.h"

#include <functional>

class QPushButton;
class QTextEdit;

namespace hcalc {

// "方案输出": the scheme report in the text area R, generated from the site
// fields and the filter-bank table, and printed.
class ReportPage final : public Page {
    Q_OBJECT

public:
    // siteTexts gives the site fields of the compensation and installation
    // pages as they stand when the report is generated.
    ReportPage(const PageContext& context, const DesignState& design, std::function<SiteTexts()> siteTexts,
               QWidget* parent = nullptr);

    QTextEdit* reportArea() const { return m_report; }

    void RzBitBtn13Click();  // "方案生成"
    void RzBitBtn15Click();  // "打印方案"

private:
    const NumberFormat& m_numbers;  // kept current by the window
    const DesignState& m_design;
    std::function<SiteTexts()> m_siteTexts;
    QPushButton* m_generate = nullptr;
    QPushButton* m_print = nullptr;
    QTextEdit* m_report = nullptr;
};

}  // namespace hcalc
