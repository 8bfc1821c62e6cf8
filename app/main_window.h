#pragma once

#include "core/dialogs.h"
#include "core/filter_bank_table.h"
#include "core/numbers.h"
#include "pages/page.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;

namespace hcalc {
class CapacitorReactorPage;
class CapacitorBankPage;
class SimplePage;
class CompensationPage;
class InstallationPage;
class SelectionPage;
class ReportPage;
class ResonancePage;
class ClockPane;
class DesignFiles;
class WindowDesign;
}  // namespace hcalc

// The main window: the page control with its nine pages, the menu and the
// status bar. It owns the shared design values for the whole run and wires
// the hand-overs between pages.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // The filter-bank table, currentOrder and pendingBankCount.
    const hcalc::DesignState& design() const { return m_design; }
    // The decimal separator in use, from the regional settings.
    QChar decimalSeparator() const { return m_numbers.decimalSeparator; }

    // The design files of the window: open, save, recent files, unsaved changes and their recovery.
    hcalc::DesignFiles& designFiles() const { return *m_files; }

    void N2Click();  // "退出"
    void N4Click();  // "关于"

protected:
    void changeEvent(QEvent* event) override;
    // Closing asks about changes that are in no file.
    void closeEvent(QCloseEvent* event) override;
    // A design file dropped on the window opens.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createMenu();
    void fillRecentMenu();
    void createPages();
    void createStatusBar();

    Dialogs& m_dialogs;
    hcalc::NumberFormat m_numbers;
    hcalc::DesignState m_design;
    hcalc::PageContext m_context;

    QTabWidget* m_pageControl = nullptr;
    hcalc::CapacitorReactorPage* m_capacitorReactor = nullptr;
    hcalc::CapacitorBankPage* m_capacitorBank = nullptr;
    hcalc::SimplePage* m_simple = nullptr;
    hcalc::CompensationPage* m_compensation = nullptr;
    hcalc::InstallationPage* m_installation = nullptr;
    hcalc::SelectionPage* m_selection = nullptr;
    hcalc::ReportPage* m_report = nullptr;
    hcalc::ResonancePage* m_resonance = nullptr;
    hcalc::ClockPane* m_clock = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::unique_ptr<hcalc::WindowDesign> m_windowDesign;
    std::unique_ptr<hcalc::DesignFiles> m_files;
};
