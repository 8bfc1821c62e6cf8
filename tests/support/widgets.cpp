#include "support/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTabWidget>
#include <QTest>

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

bool ShowPage(QWidget* window, const QString& page) {
    window->show();
    if (!QTest::qWaitForWindowActive(window)) {
        ADD_FAILURE() << "the window did not become active";
        return false;
    }
    auto* pages = Find<QTabWidget>(window, QStringLiteral("RPage"));
    auto* sheet = Find<QWidget>(window, page);
    if (pages == nullptr || sheet == nullptr) {
        return false;
    }
    pages->setCurrentWidget(sheet);
    return true;
}

QStringList TabOrderFrom(QWidget* first, qsizetype count) {
    first->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i < count; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return visited;
}

}  // namespace hcalc::test
