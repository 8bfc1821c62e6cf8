#pragma once

#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>

namespace hcalc::test {

// The objectNames of every descendant of root, sorted: what a failed lookup lists.
QStringList ChildNames(const QObject* root);

// The named control under root. A missing name fails the test with the names
// that exist (and returns nullptr).
template <class T>
T* Find(const QObject* root, const QString& name) {
    T* found = root->findChild<T*>(name);
    if (found == nullptr) {
        ADD_FAILURE() << "no " << T::staticMetaObject.className() << " named " << name.toStdString()
                      << "; names: " << ChildNames(root).join(u", ").toStdString();
    }
    return found;
}

// Texts of every QLineEdit under root, by objectName: compared before and
// after a calculation to see exactly what it wrote.
std::map<QString, QString> FieldTexts(const QObject* root);

// Sets the texts of the named fields.
void Fill(const QObject* root, std::initializer_list<std::pair<const char*, const char*>> texts);

// Clicks the named button.
void Click(const QObject* root, const QString& name);

// Shows the window, waits until it is active (so that focus works) and turns
// its page control to the named page; false when either fails.
bool ShowPage(QWidget* window, const QString& page);

// The objectNames of the first `count` controls the Tab key visits, starting
// with `first` (which gets the focus).
QStringList TabOrderFrom(QWidget* first, qsizetype count);

}  // namespace hcalc::test
