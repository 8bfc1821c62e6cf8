#include "support/widgets.h"

#include <QAbstractButton>

namespace hcalc::test {

QStringList ChildNames(const QObject* root) {
    QStringList names;
    for (const QObject* child : root->findChildren<QObject*>()) {
        if (!child->objectName().isEmpty()) {
            names << child->objectName();
        }
    }
    names.sort();
    return names;
}

std::map<QString, QString> FieldTexts(const QObject* root) {
    std::map<QString, QString> texts;
    for (const QLineEdit* field : root->findChildren<QLineEdit*>()) {
        if (!field->objectName().isEmpty()) {
            texts[field->objectName()] = field->text();
        }
    }
    return texts;
}

void Fill(const QObject* root, std::initializer_list<std::pair<const char*, const char*>> texts) {
    for (const auto& [name, text] : texts) {
        if (QLineEdit* field = Find<QLineEdit>(root, QString::fromUtf8(name))) {
            field->setText(QString::fromUtf8(text));
        }
    }
}

void Click(const QObject* root, const QString& name) {
    if (QAbstractButton* button = Find<QAbstractButton>(root, name)) {
        button->click();
    }
}

}  // namespace hcalc::test
