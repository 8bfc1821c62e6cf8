#pragma once

#include "core/calculation.h"
#include "core/extended.h"
#include "core/numbers.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QScrollArea>
#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>

class Dialogs;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QAbstractButton;

namespace hcalc {

// What every page is handed by the main window.
struct PageContext {
    Dialogs& dialogs;
    const NumberFormat& numbers;  // the regional decimal separator, kept current by the window
};

// Colours and fonts of the pages.
namespace look {
inline const QColor kMoneyGreen{192, 220, 192};        // pages and group boxes
inline const QColor kResultBackground{255, 255, 225};  // fields that receive results
inline const QColor kNavy{0, 0, 128};                  // the large group captions
inline constexpr int kPageFontPixels = 13;             // "宋体" 13 pixels: labels, buttons, captions
QFont songTi(int pixels = kPageFontPixels, bool bold = false);
}  // namespace look

enum class CaptionStyle {
    Bold,       // "宋体" 13 pixels bold, window-text colour
    Regular,    // "宋体" 13 pixels regular
    NavyLarge,  // "宋体" 16 pixels bold, navy
};

enum class FieldRole { Input, Result };

// One page of the main window's page control. The page itself scrolls when the
// window is smaller than its contents; its controls sit on body() at the
// positions of the page's design. Derived pages build their controls with the
// factory helpers and write their click handlers as plain steps: guard, read,
// compute, write, store. A fault raised by a step stops the handler and shows
// the error box (RunCalculation); handlers hold no error plumbing.
//
// The page's style sheet draws the group frames; under a style sheet a child
// does not inherit its parent's font, so every control gets its font set by
// the factory that creates it.
class Page : public QScrollArea {
    Q_OBJECT

public:
    Page(const QString& objectName, const PageContext& context, QWidget* parent = nullptr);

    // Where the page's controls sit.
    QWidget* body() const { return m_body; }

protected:
    // The extent the page's contents need; the page scrolls below it.
    void setDesignSize(QSize size);

    QGroupBox* addGroup(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                        CaptionStyle style = CaptionStyle::Bold);
    // A single-line edit field; it takes the font of the group it sits in.
    QLineEdit* addField(QWidget* parent, const QString& name, QRect geometry, FieldRole role);
    // A caption or unit label, "宋体" 13 pixels regular, wrapping when too long.
    QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry);
    // A form row sharing one top: caption label from labelLeft to the field,
    // the field, and the unit label (if any) right of the field.
    QLineEdit* addRow(QWidget* parent, int top, int labelLeft, const QString& label, const QString& name, int fieldLeft,
                      int fieldWidth, const QString& unit, FieldRole role);

    // A push button that runs handler as one calculation when clicked.
    template <class P>
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                           void (P::*handler)()) {
        QPushButton* button = createButton(parent, name, caption, geometry);
        P* self = static_cast<P*>(this);
        connectCalculation(button, [self, handler] { (self->*handler)(); });
        return button;
    }
    void connectCalculation(QAbstractButton* button, std::function<void()> calculation);

    // Steps of a calculation.
    static bool anyEmpty(std::initializer_list<const QLineEdit*> fields);  // any text of length zero
    Ext readReal(const QString& text) const;                               // converted and stored as a double
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

private:
    QPushButton* createButton(QWidget* parent, const QString& name, const QString& caption, QRect geometry);

    PageContext m_context;
    QWidget* m_body;
};

}  // namespace hcalc
