// Every page as a user reads it after the README's worked example, once under
// the application's default palette and once under a dark desktop's: no field
// cuts off its text or the longest number it may show, no control covers
// another, every text (the chart's legend too) stands out from its background
// as rendered, and every field has a name of its own.

#include "app/main_window.h"
#include "pages/impedance_chart.h"
#include "support/dark_desktop.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"
#include "support/worked_example.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr double kLeastContrast = 4.5;  // for normal text

// The relative luminance of a colour as the contrast ratio defines it.
double Luminance(QRgb rgb) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a text as rendered in a region of an image that holds the
// text on its background and nothing else: the background is the region's
// most common colour, the text the pixel that stands out from it most.
double RenderedContrast(const QImage& image, const QRect& region) {
    std::map<QRgb, int> counts;
    const QRect area = region.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    if (counts.empty()) {
        return 0;
    }
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                                return a.second < b.second;
                            })->first;
    double most = 1;
    for (const auto& [colour, count] : counts) {
        most = std::max(most, Contrast(colour, background));
    }
    return most;
}

// The width QLineEdit leaves for its text when it paints it: its contents
// less the text margins and its own margin of 2 pixels either side.
double TextRoom(const QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->contentsRect();
    option.lineWidth =
        field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    return contents.marginsRemoved(field->textMargins()).width() - 2 * 2;
}

// QLineEdit scrolls a text whose width and the cursor's pixel exceed its room.
bool ShowsWhole(const QLineEdit* field, const QString& text) {
    return std::round(QFontMetricsF(field->font()).horizontalAdvance(text)) + 1 <= TextRoom(field);
}

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// What a failed check names: the control and, for a label, its text.
std::string Describe(const QWidget* widget) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    return (widget->objectName() + u" "_s + (label != nullptr ? label->text() : QString())).toStdString();
}

enum class Desktop { Default, Dark };

class Legibility : public ::testing::TestWithParam<Desktop> {
protected:
    void SetUp() override {
        m_desktop = QApplication::palette();
        if (GetParam() == Desktop::Dark) {
            QApplication::setPalette(test::DarkDesktopPalette());  // before the window is built
        }
        window = std::make_unique<TForm1>(dialogs);
        window->resize(1280, 900);
        window->show();
        test::EnterWorkedExample(*window, dialogs.answers);
        QApplication::processEvents();
    }
    void TearDown() override {
        window.reset();
        QApplication::setPalette(m_desktop);
    }

    // Checks the contrast of a text drawn in region of image.
    void expectLegible(const QImage& image, const QRect& region, const std::string& what) {
        EXPECT_GE(RenderedContrast(image, region), kLeastContrast) << what;
        ++m_textsChecked;
    }

    test::FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
    int m_textsChecked = 0;

private:
    QPalette m_desktop;
};

TEST_P(Legibility, everyPageShowsItsTextsWholeLegibleAndNamed) {
    auto* pages = test::Find<QTabWidget>(window.get(), u"RPage"_s);
    ASSERT_NE(pages, nullptr);
    const QString longest = u"-416"_s + window->decimalSeparator() + u"666666666667"_s;
    int fields = 0;
    for (int i = 0; i < pages->count(); ++i) {
        auto* page = qobject_cast<QScrollArea*>(pages->widget(i));
        ASSERT_NE(page, nullptr);
        SCOPED_TRACE(page->objectName().toStdString());
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        QWidget* body = page->widget();
        const QList<QLineEdit*> pageFields = body->findChildren<QLineEdit*>();

        // The worked example's texts, then the longest number, whole in every field, and each field named.
        QStringList names;
        for (QLineEdit* field : pageFields) {
            EXPECT_TRUE(ShowsWhole(field, field->text())) << Describe(field) << ": " << field->text().toStdString();
            EXPECT_TRUE(ShowsWhole(field, longest)) << Describe(field);
            names << AccessibleName(field);
            EXPECT_FALSE(names.back().isEmpty()) << Describe(field);
            field->setText(longest);
            field->setCursorPosition(0);
            ++fields;
        }
        // The lists too: each named, and no name shared with a field.
        const QList<QComboBox*> lists = body->findChildren<QComboBox*>();
        for (QComboBox* list : lists) {
            names << AccessibleName(list);
            EXPECT_FALSE(names.back().isEmpty()) << Describe(list);
        }
        names.removeDuplicates();
        EXPECT_EQ(names.size(), pageFields.size() + lists.size())
            << "names shared by fields: " << names.join(u", "_s).toStdString();

        // Within each group, the controls stand apart, inside the frame, and the fields are tall enough for
        // their digits.
        for (const QGroupBox* group : body->findChildren<QGroupBox*>()) {
            QList<QWidget*> controls;
            for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<QLineEdit*>(child) || qobject_cast<QLabel*>(child) ||
                    qobject_cast<QAbstractButton*>(child)) {
                    controls << child;
                }
            }
            for (qsizetype a = 0; a < controls.size(); ++a) {
                EXPECT_TRUE(group->contentsRect().contains(controls[a]->geometry())) << Describe(controls[a]);
                for (qsizetype b = a + 1; b < controls.size(); ++b) {
                    EXPECT_FALSE(controls[a]->geometry().intersects(controls[b]->geometry()))
                        << Describe(controls[a]) << " / " << Describe(controls[b]);
                }
            }
        }
        for (const QLineEdit* field : pageFields) {
            EXPECT_GE(field->height(), field->fontMetrics().height() + 4) << Describe(field);
        }

        // Every text as the page renders it, the fields now holding the longest number.
        if (QWidget* focus = QApplication::focusWidget()) {
            focus->clearFocus();  // no text cursor in the pictures
        }
        const QImage image = body->grab().toImage();
        const auto inBody = [body](const QWidget* widget, QRect rect) {
            return rect.translated(widget->mapTo(body, QPoint(0, 0)));
        };
        for (QLabel* label : body->findChildren<QLabel*>()) {
            if (label->isVisibleTo(body) && !label->text().isEmpty()) {
                expectLegible(image, inBody(label, label->contentsRect()), Describe(label));
            }
        }
        for (QLineEdit* field : pageFields) {
            QStyleOptionFrame option;
            option.initFrom(field);
            option.rect = field->contentsRect();
            const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
            expectLegible(image, inBody(field, contents.adjusted(2, 2, -2, -2)), Describe(field));
        }
        for (QComboBox* list : lists) {
            // The chosen item's text, left of the arrow.
            expectLegible(image, inBody(list, list->rect().adjusted(4, 4, -list->height(), -4)), Describe(list));
        }
        for (QAbstractButton* button : body->findChildren<QAbstractButton*>()) {
            // The caption, right of the glyph where there is one, inside the button's bevel.
            const int glyph = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            const QRect caption = button->rect().adjusted(4 + glyph, 4, -4, -4);
            expectLegible(image, inBody(button, caption), Describe(button));
        }
        for (FramedGroupBox* group : body->findChildren<FramedGroupBox*>()) {
            expectLegible(image, inBody(group, group->captionRect()), Describe(group));
        }
        for (ImpedanceChart* chart : body->findChildren<ImpedanceChart*>()) {
            EXPECT_TRUE(chart->hasScan()) << "the worked example's check draws its curves";
            EXPECT_FALSE(AccessibleName(chart).isEmpty());
            expectLegible(chart->grab().toImage(), chart->legendRect().toAlignedRect(), Describe(chart));
        }
        for (QAbstractScrollArea* area : body->findChildren<QAbstractScrollArea*>()) {
            if (!area->isVisibleTo(body)) {
                continue;  // a list's drop-down, closed
            }
            EXPECT_FALSE(AccessibleName(area).isEmpty()) << Describe(area);
            QWidget* viewport = area->viewport();
            const QImage text = viewport->grab().toImage();
            expectLegible(text, QRect(0, 0, viewport->width(), 4 * area->fontMetrics().height()), Describe(area));
        }
    }
    EXPECT_EQ(fields, 120);

    // The window around the pages: tabs, menus and status panes.
    const QImage frame = window->grab().toImage();
    QTabBar* tabs = pages->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab = tabs->tabRect(i).adjusted(4, 4, -4, -3);
        expectLegible(frame, tab.translated(tabs->mapTo(window.get(), QPoint(0, 0))), tabs->tabText(i).toStdString());
    }
    QMenuBar* bar = window->menuBar();
    for (QAction* action : bar->actions()) {
        const QRect item = bar->actionGeometry(action).adjusted(2, 2, -2, -2);
        expectLegible(frame, item.translated(bar->mapTo(window.get(), QPoint(0, 0))), action->text().toStdString());
        QMenu* menu = action->menu();
        menu->popup(QPoint(0, 0));
        QApplication::processEvents();
        const QImage popup = menu->grab().toImage();
        for (QAction* entry : menu->actions()) {
            if (entry->isSeparator()) {
                continue;
            }
            expectLegible(popup, menu->actionGeometry(entry).adjusted(2, 2, -2, -2), entry->text().toStdString());
        }
        menu->hide();
    }
    for (QLabel* pane : window->statusBar()->findChildren<QLabel*>()) {
        expectLegible(frame, pane->contentsRect().translated(pane->mapTo(window.get(), QPoint(0, 0))), Describe(pane));
    }
    EXPECT_GT(m_textsChecked, 250);
}

INSTANTIATE_TEST_SUITE_P(Desktops, Legibility, ::testing::Values(Desktop::Default, Desktop::Dark),
                         [](const auto& info) { return info.param == Desktop::Dark ? "dark" : "default"; });

}  // namespace
}  // namespace hcalc
