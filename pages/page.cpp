#include "pages/page.h"

#include "core/dialogs.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kDesignFieldHeight = 21;  // a field is never lower than in the design
constexpr int kDesignButtonHeight = 25;
constexpr int kLineEditMargin = 2;  // the line edit's own margin either side of its text
constexpr int kRowSpacing = 7;      // between the rows of a form: 32-pixel rows in the design
constexpr int kColumnSpacing = 4;   // between caption, field and unit
constexpr int kFormColumnGap = 12;  // between a unit and the next form column's caption

void paintBackground(QWidget* widget, const QColor& colour) {
    widget->setPalette(look::withColor(widget->palette(), QPalette::Window, colour));
    widget->setAutoFillBackground(true);
}

// The widest text of up to 17 characters a field must show whole: 16 digits
// (a value below 1 shows "0" before its 15 significant digits) and the
// separator, in the widest digit and separator of the field's font; a
// percentage adds its sign.
QString widestText(const QFontMetricsF& metrics, FieldRole role) {
    QChar digit = u'0';
    for (char16_t c = u'1'; c <= u'9'; ++c) {
        if (metrics.horizontalAdvance(QChar(c)) > metrics.horizontalAdvance(digit)) {
            digit = QChar(c);
        }
    }
    const QChar separator = metrics.horizontalAdvance(u',') > metrics.horizontalAdvance(u'.') ? u',' : u'.';
    QString text = QString(16, digit) + separator;
    if (role == FieldRole::PercentResult) {
        text += u'%';
    }
    return text;
}

// The width a line edit needs to show text whole: the text and the text
// cursor, the edit's own margins, its text and contents margins, and the
// frame its style draws around them.
int widthShowing(const QLineEdit* field, const QString& text) {
    const QFontMetricsF metrics(field->font());
    const QMargins textMargins = field->textMargins();
    const QMargins contentsMargins = field->contentsMargins();
    const int inner = static_cast<int>(std::ceil(metrics.horizontalAdvance(text))) + 1 + 2 * kLineEditMargin +
                      textMargins.left() + textMargins.right() + contentsMargins.left() + contentsMargins.right();
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    return field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, 0), field).width();
}

// "（KVAR）" and "(uF)" describe a field as "KVAR" and "uF".
QString unitDescription(const QString& unit) {
    QString text = unit;
    for (QChar bracket : {u'（', u'）', u'(', u')'}) {
        text.remove(bracket);
    }
    return text.trimmed();
}

}  // namespace

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
    setWidget(m_body);
}

FramedGroupBox* Page::addGroup(QWidget* parent, const QString& name, const QString& caption, QSize designSize,
                               CaptionStyle style) {
    auto* group = new FramedGroupBox(caption, parent);
    group->setObjectName(name);
    group->setPalette(look::withColor(group->palette(), QPalette::Window, look::kMoneyGreen));
    group->setAutoFillBackground(true);
    if (style == CaptionStyle::NavyLarge) {
        group->setCaptionColor(look::kNavy);
    }
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
    group->setDesignSize(designSize);
    return group;
}

Form Page::addForm(QGroupBox* group, std::initializer_list<int> captionWidths) {
    Form form{new QGridLayout, captionWidths};
    if (auto* column = qobject_cast<QBoxLayout*>(group->layout())) {
        column->addLayout(form.grid);  // one more block of rows below those before
    } else {
        group->setLayout(form.grid);
        form.grid->setContentsMargins(8, 6, 8, 8);
    }
    form.grid->setHorizontalSpacing(kColumnSpacing);
    form.grid->setVerticalSpacing(kRowSpacing);
    for (int k = 0; k + 1 < form.columns(); ++k) {
        form.grid->setColumnMinimumWidth(form.gridColumn(k) + 3, kFormColumnGap);
    }
    // Spare width goes to the right of the last unit, not between the columns.
    form.grid->setColumnStretch(form.trailingColumn(), 1);
    return form;
}

QLineEdit* Page::addRow(const Form& form, int row, int column, const QString& caption, const QString& name,
                        const QString& unit, FieldRole role) {
    QLineEdit* field = addField(form.grid->parentWidget(), name, role);
    placeRow(form, row, column, caption, field, unit, Qt::AlignVCenter);
    return field;
}

void Page::placeRow(const Form& form, int row, int column, const QString& caption, QWidget* control,
                    const QString& unit, Qt::Alignment controlAlignment) {
    QWidget* group = form.grid->parentWidget();
    QLabel* captionLabel = addLabel(group, caption);
    // As wide as the caption on one line, wrapping where the design's column ends.
    const int oneLine = captionLabel->sizeHint().width();
    captionLabel->setWordWrap(true);
    captionLabel->setFixedWidth(std::min(oneLine, form.captionWidths.at(static_cast<std::size_t>(column))));
    captionLabel->setBuddy(control);  // screen readers name the control by its caption
    form.grid->addWidget(captionLabel, row, form.gridColumn(column), Qt::AlignVCenter);
    form.grid->addWidget(control, row, form.gridColumn(column) + 1, controlAlignment);
    if (!unit.isEmpty()) {
        form.grid->addWidget(addLabel(group, unit), row, form.gridColumn(column) + 2, Qt::AlignVCenter);
        control->setAccessibleDescription(unitDescription(unit));
    }
}

QLineEdit* Page::addField(QWidget* parent, const QString& name, FieldRole role) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setFont(parent->font());  // the group's font: bold digits in a bold group
    if (role != FieldRole::Input) {
        field->setPalette(look::withColor(field->palette(), QPalette::Base, look::kResultBackground));
    }
    const int width = widthShowing(field, widestText(QFontMetricsF(field->font()), role));
    field->setFixedSize(width, std::max(kDesignFieldHeight, field->sizeHint().height()));
    return field;
}

QComboBox* Page::addList(QWidget* parent, const QString& name, const QStringList& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setFont(parent->font());
    list->addItems(items);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setFixedHeight(std::max(kDesignFieldHeight, list->sizeHint().height()));
    return list;
}

QComboBox* Page::addListRow(const Form& form, int row, int column, const QString& caption, const QString& name,
                            const QStringList& items, const QString& unit) {
    QComboBox* list = addList(form.grid->parentWidget(), name, items);
    placeRow(form, row, column, caption, list, unit, Qt::AlignLeft | Qt::AlignVCenter);
    return list;
}

QLabel* Page::addLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setFont(look::songTi());
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLabel* Page::addResultCell(QWidget* parent, const QString& name, const QString& widest) {
    auto* cell = new QLabel(parent);
    cell->setObjectName(name);
    cell->setFont(look::songTi());
    cell->setTextFormat(Qt::PlainText);
    cell->setFrameShape(QFrame::Panel);
    cell->setFrameShadow(QFrame::Sunken);
    cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cell->setAutoFillBackground(true);
    cell->setPalette(look::withColor(cell->palette(), QPalette::Window, look::kResultBackground));
    showResultCell(cell, QString(), false, widest);
    return cell;
}

void Page::showResultCell(QLabel* cell, const QString& text, bool over, const QString& widest) {
    cell->setText(text);
    cell->setPalette(look::withColor(cell->palette(), QPalette::WindowText, over ? look::kOverLimit : Qt::black));
    QFont font = cell->font();
    font.setBold(over);
    cell->setFont(font);
    const QFontMetrics fm(font);
    cell->setMinimumWidth(std::max(fm.horizontalAdvance(widest), fm.horizontalAdvance(text)) + 2 * cell->frameWidth() +
                          6);
}

void Page::setTabChain(const std::vector<QWidget*>& chain) {
    for (std::size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

void Page::clearFields(const std::vector<QLineEdit*>& fields, QLineEdit* focus) {
    for (QLineEdit* field : fields) {
        field->clear();
    }
    if (focus != nullptr) {
        focus->setFocus();
    }
}

QBoxLayout* Page::addButtonLine(QBoxLayout::Direction direction, int lead, int spacing,
                                std::initializer_list<QPushButton*> buttons) {
    auto* line = new QBoxLayout(direction);
    line->setSpacing(spacing);
    if (direction == QBoxLayout::LeftToRight) {
        line->setContentsMargins(lead, 0, 0, 0);
    } else {
        line->setContentsMargins(0, lead, 0, 0);
    }
    for (QPushButton* button : buttons) {
        line->addWidget(button);
    }
    line->addStretch();
    return line;
}

void Page::nameFieldsUniquely() {
    const QList<QLineEdit*> fields = m_body->findChildren<QLineEdit*>();
    const auto nameOf = [](const QLineEdit* field) {
        if (!field->accessibleName().isEmpty()) {
            return field->accessibleName();
        }
        for (const QLabel* label : field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->buddy() == field) {
                return label->text();
            }
        }
        return QString();
    };
    QHash<QString, int> uses;
    for (const QLineEdit* field : fields) {
        ++uses[nameOf(field)];
    }
    for (QLineEdit* field : fields) {
        const QString name = nameOf(field);
        if (uses.value(name) < 2) {
            continue;
        }
        QStringList groups;
        for (QWidget* w = field->parentWidget(); w != nullptr && w != m_body; w = w->parentWidget()) {
            if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
                groups.prepend(group->title());
            }
        }
        field->setAccessibleName(name + u"（"_s + groups.join(u"，"_s) + u"）"_s);
    }
}

QPushButton* Page::createButton(QWidget* parent, const QString& name, const QString& caption, int designWidth) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(look::songTi());
    // 25 pixels high as designed, or as high as the caption's font needs.
    const int height = std::max(kDesignButtonHeight, button->fontMetrics().height() + 6);
    button->setFixedSize(std::max(designWidth, button->sizeHint().width()), height);
    return button;
}

void Page::connectCalculation(QAbstractButton* button, std::function<void()> calculation) {
    connect(button, &QAbstractButton::clicked, this, [this, calculation = std::move(calculation)] {
        RunCalculation(m_context.dialogs, calculation);
        Q_EMIT calculationEnded();
    });
}

void Page::requireFilled(std::initializer_list<const QLineEdit*> fields, const QString& notice) const {
    if (std::any_of(fields.begin(), fields.end(), [](const QLineEdit* f) { return f->text().isEmpty(); })) {
        m_context.dialogs.ShowNotice(notice);
        throw CalculationEnded();
    }
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

void Page::refuse(const QString& text, Reading reading) const {
    if (reading == Reading::Telling) {
        notice(text);
    }
    throw CalculationEnded();
}

void Page::notice(const QString& text) const {
    m_context.dialogs.ShowNotice(text);
}

QString Page::ask(const QString& prompt) const {
    return m_context.dialogs.AskText(u"提示"_s, prompt, QString());
}

}  // namespace hcalc
