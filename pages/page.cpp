#include "pages/page.h"

#include "core/dialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The field height of the design; a taller font gets the height it needs so
// that no digit is clipped.
constexpr int kDesignFieldHeight = 21;
constexpr int kFieldChrome = 6;  // frame and inner margins of a line edit, top and bottom together
// What the contents of a page reach in the design (the page control is 785 by 553 with its tabs); a smaller
// window scrolls the page.
constexpr QSize kDesignPageSize(785, 490);

void paintBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

QFont look::songTi(int pixels, bool bold) {
    QFont font(u"宋体"_s);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

Page::Page(const QString& objectName, const PageContext& context, QWidget* parent)
    : QScrollArea(parent), m_context(context), m_body(new QWidget) {
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    m_body->setObjectName(objectName + u"Body"_s);
    paintBackground(m_body, look::kMoneyGreen);
    paintBackground(viewport(), look::kMoneyGreen);
    paintBackground(this, look::kMoneyGreen);
    m_body->setFont(look::songTi());
    // Group boxes with the caption set into the top line of the frame.
    m_body->setStyleSheet(
        u"QGroupBox { background-color: rgb(192, 220, 192); border: 1px solid rgb(128, 150, 128);"
        " border-radius: 2px; margin-top: 0.55em; }"
        " QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px; padding: 0 2px; }"_s);
    setWidget(m_body);
    setDesignSize(kDesignPageSize);
}

void Page::setDesignSize(QSize size) {
    m_body->setMinimumSize(size);
}

QGroupBox* Page::addGroup(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                          CaptionStyle style) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(geometry);
    QPalette palette = group->palette();
    palette.setColor(QPalette::Window, look::kMoneyGreen);
    palette.setColor(QPalette::WindowText, style == CaptionStyle::NavyLarge ? look::kNavy : QColor(Qt::black));
    group->setPalette(palette);
    group->setAutoFillBackground(true);
    switch (style) {
        case CaptionStyle::Bold:
            group->setFont(look::songTi(look::kPageFontPixels, true));
            break;
        case CaptionStyle::Regular:
            group->setFont(look::songTi());
            break;
        case CaptionStyle::NavyLarge:
            group->setFont(look::songTi(16, true));
            break;
    }
    return group;
}

QLineEdit* Page::addField(QWidget* parent, const QString& name, QRect geometry, FieldRole role) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setFont(parent->font());  // set, not inherited: the page's style sheet stops font inheritance
    if (role == FieldRole::Result) {
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, look::kResultBackground);
        field->setPalette(palette);
    }
    const int needed = field->fontMetrics().height() + kFieldChrome;
    geometry.setHeight(std::max({geometry.height(), kDesignFieldHeight, needed}));
    field->setGeometry(geometry);
    return field;
}

QLabel* Page::addLabel(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setFont(look::songTi());
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A wrapped caption grows downwards from the row's top.
    geometry.setHeight(std::max(geometry.height(), label->heightForWidth(geometry.width())));
    label->setGeometry(geometry);
    return label;
}

QLineEdit* Page::addRow(QWidget* parent, int top, int labelLeft, const QString& label, const QString& name,
                        int fieldLeft, int fieldWidth, const QString& unit, FieldRole role) {
    QLineEdit* field = addField(parent, name, QRect(fieldLeft, top, fieldWidth, kDesignFieldHeight), role);
    const int rowHeight = field->height();
    QLabel* caption = addLabel(parent, label, QRect(labelLeft, top, fieldLeft - 4 - labelLeft, rowHeight));
    // A caption wrapped to two lines is centred on its field rather than hanging below it.
    caption->move(labelLeft, top - (caption->height() - rowHeight) / 2);
    if (!unit.isEmpty()) {
        QLabel* unitLabel = addLabel(parent, unit, QRect(fieldLeft + fieldWidth, top, 0, rowHeight));
        unitLabel->setWordWrap(false);
        unitLabel->resize(unitLabel->sizeHint().width(), rowHeight);
    }
    return field;
}

QPushButton* Page::createButton(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(look::songTi());
    if (geometry.width() == 0) {
        geometry.setWidth(75);
    }
    if (geometry.height() == 0) {
        geometry.setHeight(25);
    }
    button->setGeometry(geometry);
    return button;
}

void Page::connectCalculation(QAbstractButton* button, std::function<void()> calculation) {
    connect(button, &QAbstractButton::clicked, this,
            [this, calculation = std::move(calculation)] { RunCalculation(m_context.dialogs, calculation); });
}

bool Page::anyEmpty(std::initializer_list<const QLineEdit*> fields) {
    return std::any_of(fields.begin(), fields.end(), [](const QLineEdit* f) { return f->text().isEmpty(); });
}

Ext Page::readReal(const QString& text) const {
    return Stored(Ext(ParseReal(text, m_context.numbers.decimalSeparator)));
}

Ext Page::readReal(const QLineEdit* field) const {
    return readReal(field->text());
}

std::int32_t Page::readInteger(const QString& text) const {
    return ParseInteger(text);
}

QString Page::format(Ext value) const {
    return FormatReal(value, m_context.numbers.decimalSeparator);
}

void Page::write(QLineEdit* field, Ext value) const {
    writeText(field, format(value));
}

void Page::writeText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);  // a long result is read from its first digit
}

void Page::notice(const QString& text) const {
    m_context.dialogs.ShowNotice(text);
}

QString Page::ask(const QString& prompt) const {
    return m_context.dialogs.AskText(u"提示"_s, prompt, QString());
}

}  // namespace hcalc
