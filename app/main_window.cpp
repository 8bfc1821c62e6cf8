#include "app/main_window.h"

#include "app/clock_pane.h"
#include "app/design_files.h"
#include "app/window_design.h"
#include "pages/capacitor_bank_page.h"
#include "pages/capacitor_reactor_page.h"
#include "pages/compensation_page.h"
#include "pages/grid_code_page.h"
#include "pages/impedance_chart.h"
#include "pages/installation_page.h"
#include "pages/look.h"
#include "pages/resonance_page.h"
#include "pages/selection_page.h"
#include "pages/simple_page.h"
#include "report/check_report.h"
#include "report/report_page.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's own font: "MS Sans Serif", 11 pixels.
QFont windowFont() {
    QFont font(u"MS Sans Serif"_s);
    font.setPixelSize(11);
    return font;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_context{dialogs, m_numbers} {
    setObjectName(u"Form1"_s);
    setWindowTitle(hcalc::ApplicationTitle() + u"----Quelvaro"_s);
    setFont(windowFont());
    // The window's colours are fixed by its design, its texts' too: a dark
    // desktop theme does not reach it.
    setPalette(hcalc::look::windowPalette());
    setGeometry(150, 101, 604, 400);  // the normal bounds; the program shows the window maximised
    m_numbers.decimalSeparator = hcalc::RegionalDecimalSeparator();

    createPages();
    m_windowDesign = std::make_unique<hcalc::WindowDesign>(*m_pageControl, m_design, *m_installation, *m_resonance,
                                                           *m_report->reportArea());
    m_files = std::make_unique<hcalc::DesignFiles>(*this, *m_windowDesign, m_dialogs);
    m_files->watch(*m_pageControl);
    createMenu();
    createStatusBar();
    setAcceptDrops(true);
}

TForm1::~TForm1() = default;

void TForm1::createMenu() {
    QMenu* system = menuBar()->addMenu(u"系统"_s);
    system->setObjectName(u"N1"_s);
    using Files = hcalc::DesignFiles;
    const auto addFileAction = [&](const QString& name, const QString& text, const QKeySequence& keys, auto act) {
        QAction* action = system->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, m_files.get(), act);
    };
    addFileAction(u"NewDesign"_s, u"新建方案"_s, QKeySequence::New, &Files::newDesign);
    addFileAction(u"OpenDesign"_s, u"打开方案…"_s, QKeySequence::Open, &Files::openDesign);
    addFileAction(u"SaveDesign"_s, u"保存方案"_s, QKeySequence::Save, &Files::save);
    addFileAction(u"SaveDesignAs"_s, u"方案另存为…"_s, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &Files::saveAs);
    m_recentMenu = system->addMenu(u"最近打开的方案"_s);
    m_recentMenu->setObjectName(u"RecentDesigns"_s);
    connect(m_files.get(), &Files::recentFilesChanged, this, &TForm1::fillRecentMenu);
    fillRecentMenu();
    system->addSeparator();
    QAction* quit = system->addAction(u"退出"_s);
    quit->setObjectName(u"N2"_s);
    connect(quit, &QAction::triggered, this, &TForm1::N2Click);

    QMenu* help = menuBar()->addMenu(u"帮助"_s);
    help->setObjectName(u"N3"_s);
    QAction* about = help->addAction(u"关于"_s);
    about->setObjectName(u"N4"_s);
    connect(about, &QAction::triggered, this, &TForm1::N4Click);

    // Menus open as windows of their own, which take no palette from the window.
    for (QMenu* menu : {system, m_recentMenu, help}) {
        menu->setPalette(palette());
    }
}

void TForm1::fillRecentMenu() {
    m_recentMenu->clear();
    const QStringList files = m_files->recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        QAction* action = m_recentMenu->addAction(u"&%1 %2"_s.arg(i + 1).arg(QDir::toNativeSeparators(path)));
        action->setObjectName(u"RecentDesign%1"_s.arg(i + 1));
        connect(action, &QAction::triggered, m_files.get(), [this, path] { m_files->openRecent(path); });
    }
    if (files.isEmpty()) {
        m_recentMenu->addAction(u"（无）"_s)->setEnabled(false);
    }
}

void TForm1::createPages() {
    // The page control fills the client area, 10 pixels from the sides and 5
    // from the menu and the status bar, and follows every resize; each page
    // scrolls when the window is smaller than the page's contents.
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(10, 5, 10, 5);
    m_pageControl = new QTabWidget(client);
    m_pageControl->setObjectName(u"RPage"_s);
    m_pageControl->setFont(hcalc::look::songTi());
    m_pageControl->tabBar()->setFocusPolicy(Qt::NoFocus);  // no focus rectangle on the tabs
    m_pageControl->setPalette(hcalc::look::withColor(
        hcalc::look::withColor(m_pageControl->palette(), QPalette::Window, hcalc::look::kMoneyGreen), QPalette::Button,
        hcalc::look::kMoneyGreen));
    layout->addWidget(m_pageControl);
    setCentralWidget(client);

    m_capacitorReactor = new hcalc::CapacitorReactorPage(m_context, m_design);
    m_capacitorBank = new hcalc::CapacitorBankPage(m_context, m_design);
    m_simple = new hcalc::SimplePage(m_context);
    m_compensation = new hcalc::CompensationPage(m_context);
    m_installation = new hcalc::InstallationPage(m_context);
    m_selection = new hcalc::SelectionPage(m_context);
    // The report reads the site fields of two other pages as they stand when it is generated.
    m_report = new hcalc::ReportPage(m_context, m_design, [this] {
        return hcalc::SiteTexts{m_compensation->activePowerText(), m_compensation->presentPowerFactorText(),
                                m_compensation->targetPowerFactorText(), m_installation->phaseVoltageText(),
                                m_installation->harmonicCurrentTexts()};
    });
    m_pageControl->addTab(m_capacitorReactor, u"电容器/电抗器计算"_s);
    m_pageControl->addTab(m_capacitorBank, u"电容器组计算"_s);
    m_pageControl->addTab(m_simple, u"简单计算"_s);
    m_pageControl->addTab(m_compensation, u"补偿容量计算"_s);
    m_pageControl->addTab(m_installation, u"安装容量计算"_s);
    m_pageControl->addTab(m_selection, u"电容器选型"_s);
    m_pageControl->addTab(m_report, u"方案输出"_s);
    m_resonance = new hcalc::ResonancePage(m_context);
    m_pageControl->addTab(m_resonance, u"谐振与耐受校验"_s);
    // The grid code's limits take the site's load from the compensation page,
    // once it has been calculated, for the hint of I_L; their report draws
    // the check's |Z| chart.
    auto* limits = new hcalc::GridCodePage(
        m_context,
        [this]() -> std::optional<hcalc::SiteLoad> {
            if (m_compensation->compensationText().isEmpty()) {
                return std::nullopt;
            }
            return hcalc::SiteLoad{m_compensation->activePowerText(), m_compensation->targetPowerFactorText()};
        },
        [](const QString& fileName, const hcalc::CheckReportContent& content) {
            hcalc::ImpedanceChart chart;
            chart.setFont(hcalc::look::songTi());
            chart.setScan(content.result.scan, content.result.resonances, content.separator);
            return hcalc::WriteCheckReport(
                fileName, content, QDate::currentDate(), hcalc::ApplicationVersion(),
                [&chart](QPainter& painter, const QRectF& area, const hcalc::ReportTextDrawer& text) {
                    chart.draw(painter, area, hcalc::look::windowPalette(), text);
                });
        });
    m_pageControl->addTab(limits, u"谐波限值校验"_s);
    m_pageControl->setCurrentIndex(0);

    // The capacitor and reactor page fills the bank page's capacitance and
    // inductances at the steps that copy them.
    using Reactor = hcalc::CapacitorReactorPage;
    using Bank = hcalc::CapacitorBankPage;
    connect(m_capacitorReactor, &Reactor::capacitanceHandedOver, m_capacitorBank, &Bank::takeCapacitance);
    connect(m_capacitorReactor, &Reactor::tunedInductanceHandedOver, m_capacitorBank, &Bank::takeTunedInductance);
    connect(m_capacitorReactor, &Reactor::detunedInductanceHandedOver, m_capacitorBank, &Bank::takeDetunedInductance);

    // The compensation result becomes the total to share; the best sharing
    // gives the selection page its ideal values.
    using Installation = hcalc::InstallationPage;
    using Selection = hcalc::SelectionPage;
    connect(m_compensation, &hcalc::CompensationPage::wholeCompensationWritten, m_installation,
            &Installation::takeTotalReactivePower);
    connect(m_installation, &Installation::idealCapacitiesWritten, m_selection, &Selection::takeIdealCapacities);
    connect(m_installation, &Installation::idealVoltagesWritten, m_selection, &Selection::takeIdealVoltages);

    // The resonance check takes the site's line voltage from the bank page,
    // the harmonic currents that the sharing used, and each branch's chosen
    // capacitors.
    using Resonance = hcalc::ResonancePage;
    connect(m_capacitorBank, &Bank::siteVoltageHandedOver, m_resonance, &Resonance::takeLineVoltage);
    connect(m_installation, &Installation::idealCapacitiesWritten, m_resonance,
            [this] { m_resonance->takeHarmonicCurrents(m_installation->harmonicCurrentTexts()); });
    connect(m_selection, &Selection::chosenCapacitorsWritten, m_resonance, &Resonance::takeChosenCapacitors);

    // The grid code's limits are checked on the check shown, whether a user's
    // 校验 or an opened design showed it; a user's 校验 also gives their
    // defaults: the PCC level nearest its voltage and its S_k as S_k1.
    using Limits = hcalc::GridCodePage;
    connect(m_resonance, &Resonance::checkShown, limits, &Limits::takeCheck);
    connect(m_resonance, &Resonance::checkEmptied, limits, &Limits::forgetCheck);
    connect(m_resonance, &Resonance::checkedByUser, limits, &Limits::takeDefaults);
    connect(m_compensation, &hcalc::CompensationPage::wholeCompensationWritten, limits,
            [limits] { limits->refreshDemandHint(); });
}

void TForm1::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(u"RzStatusBar1"_s);
    bar->setSizeGripEnabled(true);

    auto* title = new QLabel(hcalc::ApplicationTitle(), bar);
    title->setObjectName(u"RzStatusPane2"_s);
    title->setFixedWidth(426);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar->addWidget(title);

    auto* author = new QLabel(u"Quelvaro"_s, bar);
    author->setObjectName(u"RzStatusPane1"_s);
    author->setFixedWidth(212);
    author->setAlignment(Qt::AlignCenter);
    bar->addPermanentWidget(author);

    m_clock = new hcalc::ClockPane([] { return QDateTime::currentDateTime(); }, bar);
    m_clock->setObjectName(u"RzClockStatus1"_s);
    m_clock->setFixedWidth(150);
    bar->addPermanentWidget(m_clock);
}

void TForm1::N2Click() {
    close();
}

void TForm1::N4Click() {
    m_dialogs.ShowNotice(u"谐波滤除计算程序"_s);
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        m_numbers.decimalSeparator = hcalc::RegionalDecimalSeparator();
    }
    QMainWindow::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_files->mayClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

namespace {

// The one local file that a drag brings, if it brings exactly one.
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile()) {
        return {};
    }
    return data->urls().constFirst().toLocalFile();
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop has ended: the question and the boxes must not hold up the program it came from.
    QMetaObject::invokeMethod(
        this, [this, path] { m_files->open(path); }, Qt::QueuedConnection);
}
