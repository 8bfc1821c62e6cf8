#pragma once

#include "app/main_window.h"
#include "core/numbers.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QLineEdit>
#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

namespace hcalc::test {

using Texts = std::map<QString, QString>;

// A window driven as a user would: fields typed, boxes answered, buttons
// clicked; what a click changed is read from the texts of all fields.
class PageDriver : public ::testing::Test {
protected:
    QLineEdit* field(const char* name) { return Find<QLineEdit>(&window, QString::fromUtf8(name)); }
    QString text(const char* name) { return field(name)->text(); }
    void set(std::initializer_list<std::pair<const char*, const char*>> texts) { Fill(&window, texts); }
    void answer(std::initializer_list<const char*> answers) {
        for (const char* a : answers) {
            dialogs.answers.push_back(QString::fromUtf8(a));
        }
    }
    // Gives every field of the window the text "old", so that a click's
    // writes show even where a result equals the text before.
    void markAllFields() {
        for (QLineEdit* f : window.findChildren<QLineEdit*>()) {
            f->setText(QStringLiteral("old"));
        }
    }
    // Clicks the named button; the fields whose text changed, with their new texts.
    Texts clickAndCollect(const char* button) {
        const Texts before = FieldTexts(&window);
        Click(&window, QString::fromUtf8(button));
        const Texts after = FieldTexts(&window);
        Texts changed;
        for (const auto& [name, t] : after) {
            if (before.at(name) != t) {
                changed[name] = t;
            }
        }
        return changed;
    }
    // Fills every field of the window, clicks a clear button and tells which
    // fields it emptied, in the order it emptied them.
    QStringList clearedInOrder(const char* button) {
        QStringList cleared;
        std::vector<QMetaObject::Connection> connections;
        for (QLineEdit* f : window.findChildren<QLineEdit*>()) {
            f->setText(QStringLiteral("x"));
            connections.push_back(QObject::connect(f, &QLineEdit::textChanged, f, [&cleared, f](const QString& t) {
                if (t.isEmpty()) {
                    cleared << f->objectName();
                }
            }));
        }
        Click(&window, QString::fromUtf8(button));
        for (const QMetaObject::Connection& c : connections) {
            QObject::disconnect(c);
        }
        return cleared;
    }
    QString shown(Ext value) const { return FormatReal(value, window.decimalSeparator()); }
    double reread(const char* name) { return StoreDouble(ParseReal(text(name), window.decimalSeparator())); }
    const DesignState& design() const { return window.design(); }

    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

// The events of the boxes, as FakeDialogs records them.
inline QString Notice(const QString& text) {
    return QStringLiteral("notice:") + text;
}
inline QString Asked(const QString& prompt) {
    return QStringLiteral("ask:") + prompt;
}
inline QString Fault(const char* text) {
    return QStringLiteral("fault:") + QString::fromUtf8(text);
}

}  // namespace hcalc::test
