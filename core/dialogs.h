#pragma once

#include <QString>
#include <QStringList>

namespace hcalc {
// "谐波计算软件": the program's name, the caption of its notice and error boxes
// and the text of its taskbar button.
inline QString ApplicationTitle() {
    return QStringLiteral("谐波计算软件");
}
// The program's version, "1.0.0": the project's version in CMake.
inline QString ApplicationVersion() {
    return QStringLiteral(HCALC_VERSION);
}
}  // namespace hcalc

// The four modal boxes through which a calculation talks to the user. The
// program shows real Qt boxes (QtDialogs); tests script them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void ShowNotice(const QString& text) = 0;
    virtual QString AskText(const QString& title, const QString& prompt, const QString& defaultText) = 0;
    virtual bool AskConfirm(const QString& text) = 0;  // true: OK
    virtual void ShowFault(const QString& text) = 0;   // the text exactly as shown, final "." included

    // The box that asks where to save a file: the chosen file name, or the
    // empty text when cancelled. filters name the kinds of file offered, as
    // "PNG图片 (*.png)". By default the box answers as if cancelled, so that
    // dialogs written before it never block.
    virtual QString AskSaveFileName(const QString& /*title*/, const QString& /*suggestedName*/,
                                    const QStringList& /*filters*/) {
        return {};
    }

    // The box that asks which file to open: its name, or the empty text when
    // cancelled (the default).
    virtual QString AskOpenFileName(const QString& /*title*/, const QStringList& /*filters*/) { return {}; }

    // The question before changes that are in no file would be lost: "保存",
    // "不保存" or "取消". By default the changes are not saved, so that
    // dialogs written before it let the program end at once, as it always did.
    enum class SaveChanges { Save, Discard, Cancel };
    virtual SaveChanges AskSaveChanges(const QString& /*text*/) { return SaveChanges::Discard; }

    // The offer, at the program's start, of a design that an earlier run left
    // behind when it ended abnormally: true for "恢复" (the default button),
    // false for "放弃". By default the design is given up.
    virtual bool AskRecover(const QString& /*text*/) { return false; }
};
