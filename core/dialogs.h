#pragma once

#include <QString>
#include <QStringList>

namespace hcalc {
// "谐波计算软件": the program's name, the caption of its notice and error boxes
// and the text of its taskbar button.
inline QString ApplicationTitle() {
    return QStringLiteral("谐波计算软件");
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
};
