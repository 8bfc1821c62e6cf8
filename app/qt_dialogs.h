#pragma once

#include "core/dialogs.h"

#include <QString>

namespace hcalc {

// The real modal boxes, centred on the screen. Button texts are "OK" and
// "Cancel" whatever the platform theme would translate them to.
class QtDialogs final : public Dialogs {
public:
    // applicationTitle captions the notice and error boxes.
    explicit QtDialogs(QString applicationTitle);

    void ShowNotice(const QString& text) override;
    QString AskText(const QString& title, const QString& prompt, const QString& defaultText) override;
    bool AskConfirm(const QString& text) override;
    void ShowFault(const QString& text) override;
    QString AskSaveFileName(const QString& title, const QString& suggestedName, const QStringList& filters) override;
    QString AskOpenFileName(const QString& title, const QStringList& filters) override;
    SaveChanges AskSaveChanges(const QString& text) override;
    bool AskRecover(const QString& text) override;

    static constexpr int kMaxAnswerLength = 255;

private:
    QString m_applicationTitle;
};

}  // namespace hcalc
