#pragma once

#include "core/dialogs.h"
#include "support/qt_printers.h"

#include <QString>
#include <QStringList>

#include <deque>

namespace hcalc::test {

// Dialogs that record every box a calculation opens and answer the input and
// confirmation boxes from scripts. An input box with no scripted answer is
// cancelled (it returns its default); a confirmation with none is cancelled.
class FakeDialogs final : public Dialogs {
public:
    struct Asked {
        QString title;
        QString prompt;
        QString defaultText;
    };

    void ShowNotice(const QString& text) override {
        notices.push_back(text);
        events.push_back(QStringLiteral("notice:") + text);
    }
    QString AskText(const QString& title, const QString& prompt, const QString& defaultText) override {
        asked.push_back({title, prompt, defaultText});
        events.push_back(QStringLiteral("ask:") + prompt);
        if (answers.empty()) {
            return defaultText;
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool AskConfirm(const QString& text) override {
        confirmations.push_back(text);
        events.push_back(QStringLiteral("confirm:") + text);
        if (confirmAnswers.empty()) {
            return false;
        }
        const bool ok = confirmAnswers.front();
        confirmAnswers.pop_front();
        return ok;
    }
    void ShowFault(const QString& text) override {
        faults.push_back(text);
        events.push_back(QStringLiteral("fault:") + text);
    }
    // Answers with the next scripted file name; with none, as cancelled.
    QString AskSaveFileName(const QString& title, const QString& /*suggestedName*/,
                            const QStringList& /*filters*/) override {
        events.push_back(QStringLiteral("save:") + title);
        if (saveNames.empty()) {
            return QString();
        }
        QString name = saveNames.front();
        saveNames.pop_front();
        return name;
    }

    // Answers with the next scripted file name; with none, as cancelled.
    QString AskOpenFileName(const QString& title, const QStringList& /*filters*/) override {
        events.push_back(QStringLiteral("open:") + title);
        return next(openNames, QString());
    }
    // Answers with the next scripted choice; with none, "不保存" as the default does.
    SaveChanges AskSaveChanges(const QString& text) override {
        events.push_back(QStringLiteral("unsaved:") + text);
        return next(saveChangesAnswers, SaveChanges::Discard);
    }
    // Answers with the next scripted choice; with none, "放弃" as the default does.
    bool AskRecover(const QString& text) override {
        events.push_back(QStringLiteral("recover:") + text);
        return next(recoverAnswers, false);
    }

    void clear() {
        notices.clear();
        asked.clear();
        confirmations.clear();
        faults.clear();
        events.clear();
    }

    // Scripts.
    std::deque<QString> answers;
    std::deque<bool> confirmAnswers;
    std::deque<QString> saveNames;
    std::deque<QString> openNames;
    std::deque<SaveChanges> saveChangesAnswers;
    std::deque<bool> recoverAnswers;

    // Records.
    QStringList notices;
    std::deque<Asked> asked;
    QStringList confirmations;
    QStringList faults;
    QStringList events;  // every box in the order shown

private:
    template <class T>
    static T next(std::deque<T>& script, T otherwise) {
        if (script.empty()) {
            return otherwise;
        }
        T answer = script.front();
        script.pop_front();
        return answer;
    }
};

}  // namespace hcalc::test
