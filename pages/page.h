#pragma once

#include "core/calculation.h"
#include "core/extended.h"
#include "core/fault.h"
#include "core/numbers.h"
#include "pages/look.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QRect>
#include <QScrollArea>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

class Dialogs;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QAbstractButton;
class QComboBox;

namespace hcalc {

// What every page is handed by the main window.
struct PageContext {
    Dialogs& dialogs;
    const NumberFormat& numbers;  // the regional decimal separator, kept current by the window
};

enum class CaptionStyle {
    Bold,       // "宋体" 13 pixels bold, window-text colour
    Regular,    // "宋体" 13 pixels regular
    NavyLarge,  // "宋体" 16 pixels bold, navy
};

enum class FieldRole {
    Input,          // typed by the user
    Result,         // written by a calculation, on the result background
    PercentResult,  // a result shown as a number followed by "%"
};

// The rows of a group box: caption, field and unit side by side in a grid.
// Form column k of a row takes the grid columns 4k (caption), 4k + 1 (field)
// and 4k + 2 (unit); 4k + 3 is the gap before the next form column, and the
// last, trailing column takes the spare width and whatever stands right of
// the rows. Captions are as wide as the design's caption column of their form
// column and wrap below it; fields are as wide as the longest number they
// must show needs in their own font.
struct Form {
    QGridLayout* grid = nullptr;
    std::vector<int> captionWidths;  // pixels, per form column

    int columns() const { return static_cast<int>(captionWidths.size()); }
    int gridColumn(int column) const { return 4 * column; }
    int trailingColumn() const { return 4 * columns() - 1; }
};

// One page of the main window's page control. The page itself scrolls when the
// window is smaller than its contents; its controls sit on body(), arranged by
// layouts in the order of the page's design. Derived pages build their
// controls with the factory helpers and write their click handlers as plain
// steps: guard, read, compute, write, store. A fault raised by a step stops the
// handler and shows the error box (RunCalculation); handlers hold no error
// plumbing.
class Page : public QScrollArea {
    Q_OBJECT

public:
    Page(const QString& objectName, const PageContext& context, QWidget* parent = nullptr);

    // Where the page's controls sit.
    QWidget* body() const { return m_body; }

    // Shows a check's result cell (addResultCell): its text, red and bold
    // where its figure exceeds its limit.
    static void showResultCell(QLabel* cell, const QString& text, bool over, const QString& widest);

    // What calculations change besides the fields, which a design keeps too:
    // labels and group boxes whose text, and buttons whose enabled state, a
    // calculation sets.
    const std::vector<QWidget*>& keptWidgets() const { return m_kept; }

Q_SIGNALS:
    // A calculation of the page has ended, however it ended.
    void calculationEnded();

protected:
    // A group box with its caption in the frame line; designSize is the least
    // size it keeps when its contents need less.
    FramedGroupBox* addGroup(QWidget* parent, const QString& name, const QString& caption, QSize designSize,
                             CaptionStyle style = CaptionStyle::Bold);
    // A grid of form rows as the group's layout, or as one more block of rows
    // when the group's layout is a column of blocks; captionWidths gives the
    // caption width of each form column, in pixels.
    Form addForm(QGroupBox* group, std::initializer_list<int> captionWidths);
    // A form row: the caption, the field and its unit label (if any). The
    // caption names the field for screen readers, the unit describes it.
    QLineEdit* addRow(const Form& form, int row, int column, const QString& caption, const QString& name,
                      const QString& unit, FieldRole role);
    // A single-line edit field; it takes the font of the group it sits in.
    QLineEdit* addField(QWidget* parent, const QString& name, FieldRole role);
    // A list to choose one of fixed items from, the first chosen; it takes
    // the font of the group it sits in and is as wide as its longest item.
    QComboBox* addList(QWidget* parent, const QString& name, const QStringList& items);
    // A form row with a list in the field's place.
    QComboBox* addListRow(const Form& form, int row, int column, const QString& caption, const QString& name,
                          const QStringList& items, const QString& unit);
    // Places a row's caption, control and unit label (if any) in the form.
    void placeRow(const Form& form, int row, int column, const QString& caption, QWidget* control, const QString& unit,
                  Qt::Alignment controlAlignment);
    // A caption or unit label, "宋体" 13 pixels regular.
    QLabel* addLabel(QWidget* parent, const QString& text);
    // A result cell of a check: a framed label on the result background, as
    // wide as `widest` needs in its font, and wider while it shows a longer text.
    QLabel* addResultCell(QWidget* parent, const QString& name, const QString& widest);

    // A push button that runs handler as one calculation when clicked; it is
    // at least designWidth wide and as wide as its caption needs.
    template <class P>
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, void (P::*handler)(),
                           int designWidth = kDesignButtonWidth) {
        QPushButton* button = createButton(parent, name, caption, designWidth);
        P* self = static_cast<P*>(this);
        connectCalculation(button, [self, handler] { (self->*handler)(); });
        return button;
    }
    void connectCalculation(QAbstractButton* button, std::function<void()> calculation);

    // Steps of a calculation.
    // The guard: when any of the fields holds no text, shows the notice and
    // ends the calculation.
    void requireFilled(std::initializer_list<const QLineEdit*> fields, const QString& notice) const;
    Ext readReal(const QString& text) const;  // converted and stored as a double
    Ext readReal(const QLineEdit* field) const;
    std::int32_t readInteger(const QString& text) const;
    QString format(Ext value) const;  // the number-to-text rule, regional separator
    void write(QLineEdit* field, Ext value) const;
    // Writes a composed or handed-over text; like a result, it is shown from its first character.
    static void writeText(QLineEdit* field, const QString& text);
    void notice(const QString& text) const;
    // The input box titled "提示" with an empty default: what was typed, or
    // the empty text when cancelled.
    QString ask(const QString& prompt) const;

    Dialogs& dialogs() const { return m_context.dialogs; }

    // The order in which the Tab key visits the page's controls.
    void setTabChain(const std::vector<QWidget*>& chain);
    // Empties the fields in the order given, then puts the keyboard focus into
    // `focus`, if any.
    static void clearFields(const std::vector<QLineEdit*>& fields, QLineEdit* focus = nullptr);

    // Buttons side by side (LeftToRight) or stacked (TopToBottom), `spacing`
    // apart and `lead` pixels from the start; spare room goes after them.
    static QBoxLayout* addButtonLine(QBoxLayout::Direction direction, int lead, int spacing,
                                     std::initializer_list<QPushButton*> buttons);

    // Gives every field whose caption is not unique on the page an accessible
    // name of its own: the caption (or the name already set) followed by the
    // captions of the groups it sits in. Called once the page is built.
    void nameFieldsUniquely();

    void keepWithDesign(std::initializer_list<QWidget*> widgets) { m_kept.insert(m_kept.end(), widgets); }

    // How a check reads its inputs: for its button, telling in a notice why it
    // refuses them, or quietly, to compare them with those of the results shown.
    enum class Reading { Telling, Quiet };
    // Ends the reading, with the notice when it tells.
    [[noreturn]] void refuse(const QString& text, Reading reading) const;
    // What read() gives, or nullopt where it would end the calculation (a
    // guard, or a text that is not a number).
    template <class F>
    static auto quietly(const F& read) -> std::optional<decltype(read())> {
        try {
            return read();
        } catch (const CalculationEnded&) {
            return std::nullopt;
        } catch (const CalcFault&) {
            return std::nullopt;
        }
    }

    static constexpr int kDesignButtonWidth = 75;

private:
    QPushButton* createButton(QWidget* parent, const QString& name, const QString& caption, int designWidth);

    PageContext m_context;
    QWidget* m_body;
    std::vector<QWidget*> m_kept;
};

}  // namespace hcalc
