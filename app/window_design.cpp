#include "app/window_design.h"

#include "core/grid_code.h"
#include "pages/grid_code_page.h"
#include "pages/installation_page.h"
#include "pages/page.h"
#include "pages/resonance_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The controls of a page that a design names: those with a name of the page's own, not Qt's inner ones.
template <class Control>
QList<Control*> Named(const QWidget* page) {
    QList<Control*> named;
    for (Control* c : page->findChildren<Control*>()) {
        if (!c->objectName().isEmpty() && !c->objectName().startsWith(u"qt_"_s)) {
            named.push_back(c);
        }
    }
    return named;
}

QList<const Page*> Pages(const QTabWidget& pages) {
    QList<const Page*> all;
    for (int i = 0; i < pages.count(); ++i) {
        if (const auto* page = qobject_cast<const Page*>(pages.widget(i))) {
            all.push_back(page);
        }
    }
    return all;
}

// The value a design gives a name, or else the one a new design gives it.
template <class T>
T ValueOr(const std::map<QString, T>& given, const std::map<QString, T>& fresh, const QString& name) {
    if (const auto it = given.find(name); it != given.end()) {
        return it->second;
    }
    const auto it = fresh.find(name);
    return it != fresh.end() ? it->second : T{};
}

}  // namespace

WindowDesign::WindowDesign(QTabWidget& pages, DesignState& design, InstallationPage& installation,
                           ResonancePage& resonance, QTextEdit& report)
    : m_pages(pages),
      m_design(design),
      m_installation(installation),
      m_resonance(resonance),
      m_report(report),
      m_fresh(capture()) {}

DesignDocument WindowDesign::capture() const {
    DesignDocument d;
    if (m_pages.currentWidget() != nullptr) {
        d.page = m_pages.currentWidget()->objectName();
    }
    for (const Page* page : Pages(m_pages)) {
        std::map<QString, QString>& fields = d.fields[page->objectName()];
        for (const QLineEdit* field : Named<QLineEdit>(page)) {
            fields[field->objectName()] = field->text();
        }
        for (const QComboBox* list : Named<QComboBox>(page)) {
            d.choices[list->objectName()] = list->currentText();
        }
        for (const QWidget* kept : page->keptWidgets()) {
            if (const auto* label = qobject_cast<const QLabel*>(kept)) {
                d.captions[kept->objectName()] = label->text();
            } else if (const auto* group = qobject_cast<const QGroupBox*>(kept)) {
                d.captions[kept->objectName()] = group->title();
            } else if (qobject_cast<const QAbstractButton*>(kept) != nullptr) {
                d.switches[kept->objectName()] = kept->isEnabled();
            }
        }
    }
    const QString report = m_report.toPlainText();
    d.report = report.isEmpty() ? QStringList() : report.split(u'\n');
    d.design = m_design;
    d.searches = m_installation.keptSearches();
    d.check = m_resonance.lastCheck();
    if (const GridCodePage* limits = m_pages.findChild<GridCodePage*>(); limits != nullptr && d.check) {
        d.limitCheck = limits->lastCheck();
    }
    return d;
}

QString WindowDesign::misfit(const DesignDocument& design) const {
    for (const Page* page : Pages(m_pages)) {
        const auto typed = design.fields.find(page->objectName());
        if (typed == design.fields.end()) {
            continue;
        }
        for (const QLineEdit* field : Named<QLineEdit>(page)) {
            const auto text = typed->second.find(field->objectName());
            if (text != typed->second.end() && text->second.size() > field->maxLength()) {
                return u"“fields.%1.%2”的文字过长：%3个字符，这个输入框最多容纳%4个"_s.arg(
                    page->objectName(), field->objectName(), QString::number(text->second.size()),
                    QString::number(field->maxLength()));
            }
        }
        for (const QComboBox* list : Named<QComboBox>(page)) {
            const auto choice = design.choices.find(list->objectName());
            if (choice != design.choices.end() && list->findText(choice->second) < 0) {
                return u"“choices.%1”的“%2”不是可选的一项"_s.arg(list->objectName(), choice->second.left(64));
            }
        }
    }
    if (design.check) {
        const std::optional<ResonanceCheck> check = CheckResonance(*design.check);
        if (!check) {
            return u"“check”中的数值超出了校验可计算的范围"_s;
        }
        if (design.limitCheck && !CheckGridCode(FlowsOf(*design.check, *check), *design.limitCheck)) {
            return u"“limitCheck”中的数值超出了限值校验可计算的范围"_s;
        }
    }
    return {};
}

bool WindowDesign::apply(const DesignDocument& design, QString& refusal) {
    // What may be cancelled or refused runs before anything changes.
    refusal.clear();
    std::optional<std::vector<ImprovementChain>> lists = m_installation.rerunSearches(design.searches, refusal);
    if (!lists) {
        return false;
    }

    for (const Page* page : Pages(m_pages)) {
        static const std::map<QString, QString> none;
        const auto typed = design.fields.find(page->objectName());
        const auto fresh = m_fresh.fields.find(page->objectName());
        for (QLineEdit* field : Named<QLineEdit>(page)) {
            field->setText(ValueOr(typed != design.fields.end() ? typed->second : none,
                                   fresh != m_fresh.fields.end() ? fresh->second : none, field->objectName()));
            field->setCursorPosition(0);  // read from the first character, as results are
        }
        for (QComboBox* list : Named<QComboBox>(page)) {
            list->setCurrentIndex(list->findText(ValueOr(design.choices, m_fresh.choices, list->objectName())));
        }
        for (QWidget* kept : page->keptWidgets()) {
            const QString name = kept->objectName();
            if (auto* label = qobject_cast<QLabel*>(kept)) {
                label->setText(ValueOr(design.captions, m_fresh.captions, name));
            } else if (auto* group = qobject_cast<QGroupBox*>(kept)) {
                group->setTitle(ValueOr(design.captions, m_fresh.captions, name));
            } else if (qobject_cast<QAbstractButton*>(kept) != nullptr) {
                kept->setEnabled(ValueOr(design.switches, m_fresh.switches, name));
            }
        }
    }
    m_report.setPlainText(design.report.join(u'\n'));
    m_design = design.design;
    m_installation.showSearches(design.searches, std::move(*lists));
    // The check shown hands its results to the limits' page, which then
    // shows the design's limits checked on them.
    if (design.check) {
        m_resonance.showCheck(*design.check);
    } else {
        m_resonance.forgetCheck();
    }
    if (GridCodePage* limits = m_pages.findChild<GridCodePage*>(); limits != nullptr && design.limitCheck) {
        limits->showCheck(*design.limitCheck);
    }
    for (int i = 0; i < m_pages.count(); ++i) {
        if (m_pages.widget(i)->objectName() == design.page) {
            m_pages.setCurrentIndex(i);
        }
    }
    return true;
}

}  // namespace hcalc
