#pragma once

#include "core/design_file.h"

#include <QString>

class QTabWidget;
class QTextEdit;

namespace hcalc {

class InstallationPage;
class ResonancePage;

// What a design file keeps of the window, taken from it and shown in it: the
// text of every field on every page, the report area, what calculations
// change besides the fields, the shared design values, the searches whose
// lines the list shows, the check shown and the page shown.
class WindowDesign {
public:
    // The window as it stands now is what a new design shows.
    WindowDesign(QTabWidget& pages, DesignState& design, InstallationPage& installation, ResonancePage& resonance,
                 QTextEdit& report);

    DesignDocument capture() const;
    // A new design: the window as it was first built.
    const DesignDocument& fresh() const { return m_fresh; }

    // Why the design cannot be shown in this window (a field text longer
    // than its field takes, a choice a list does not offer, a check that
    // cannot be computed); empty when it can.
    QString misfit(const DesignDocument& design) const;
    // Shows the design whole: every field it names gets its text, every
    // other field the text it has in a new design. The searches are run
    // again first; false, with nothing changed, when that was cancelled or
    // refused (refusal says why; empty when cancelled).
    bool apply(const DesignDocument& design, QString& refusal);

private:
    QTabWidget& m_pages;
    DesignState& m_design;
    InstallationPage& m_installation;
    ResonancePage& m_resonance;
    QTextEdit& m_report;
    DesignDocument m_fresh;
};

}  // namespace hcalc
