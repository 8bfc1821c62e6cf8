#pragma once

#include "pages/page.h"

class QPushButton;
class QTextEdit;

namespace hcalc {

// "方案输出": the scheme report in the text area R, generated from the site
// fields and the filter-bank table, and printed.
class ReportPage final : public Page {
    Q_OBJECT

public:
    explicit ReportPage(const PageContext& context, QWidget* parent = nullptr);

    QTextEdit* reportArea() const { return m_report; }

private:
    QPushButton* m_generate = nullptr;
    QPushButton* m_print = nullptr;
    QTextEdit* m_report = nullptr;
};

}  // namespace hcalc
