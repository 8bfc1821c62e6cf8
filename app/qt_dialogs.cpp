#include "app/qt_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// A message box with one "OK" button, which Enter and Esc both press.
void showMessage(const QString& caption, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton);
    box.setTextFormat(Qt::PlainText);  // a fault message quotes whatever the user typed
    QPushButton* ok = box.addButton(u"OK"_s, QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

}  // namespace

QtDialogs::QtDialogs(QString applicationTitle) : m_applicationTitle(std::move(applicationTitle)) {}

void QtDialogs::ShowNotice(const QString& text) {
    showMessage(m_applicationTitle, QMessageBox::NoIcon, text);
}

void QtDialogs::ShowFault(const QString& text) {
    showMessage(m_applicationTitle, QMessageBox::Critical, text);
}

bool QtDialogs::AskConfirm(const QString& text) {
    QMessageBox box(QMessageBox::Information, u"Information"_s, text, QMessageBox::NoButton);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(u"OK"_s, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(u"Cancel"_s, QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

QString QtDialogs::AskText(const QString& title, const QString& prompt, const QString& defaultText) {
    QDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(prompt, &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto* line = new QLineEdit(&dialog);
    line->setMaxLength(kMaxAnswerLength);
    line->setText(defaultText);
    line->selectAll();
    line->setMinimumWidth(240);

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"Cancel"_s, QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(line);
    layout->addWidget(buttons);
    line->setFocus();

    // Cancel, Esc and the close button all give the default back unchanged.
    return dialog.exec() == QDialog::Accepted ? line->text() : defaultText;
}

QString QtDialogs::AskSaveFileName(const QString& title, const QString& suggestedName, const QStringList& filters) {
    QFileDialog dialog(nullptr, title, suggestedName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    // A name typed without an extension takes that of the kind of file chosen.
    const auto suffixOf = [](const QString& filter) {
        return QRegularExpression(u"\\*\\.(\\w+)"_s).match(filter).captured(1);
    };
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::AskOpenFileName(const QString& title, const QStringList& filters) {
    QFileDialog dialog(nullptr, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

Dialogs::SaveChanges QtDialogs::AskSaveChanges(const QString& text) {
    QMessageBox box(QMessageBox::Warning, m_applicationTitle, text, QMessageBox::NoButton);
    box.setTextFormat(Qt::PlainText);  // the text names a file
    QPushButton* save = box.addButton(u"保存"_s, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(u"不保存"_s, QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(u"取消"_s, QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return SaveChanges::Save;
    }
    return box.clickedButton() == discard ? SaveChanges::Discard : SaveChanges::Cancel;
}

bool QtDialogs::AskRecover(const QString& text) {
    QMessageBox box(QMessageBox::Question, m_applicationTitle, text, QMessageBox::NoButton);
    box.setTextFormat(Qt::PlainText);
    QPushButton* recover = box.addButton(u"恢复"_s, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(u"放弃"_s, QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(discard);
    box.exec();
    return box.clickedButton() == recover;
}

}  // namespace hcalc
