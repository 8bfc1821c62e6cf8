#pragma once

#include <QString>

class QApplication;

namespace hcalc {

// What the program sets once its QApplication exists: the widget style, and
// font substitutions so that the fonts the pages ask for ("宋体", "MS Sans
// Serif") render with the installed Noto CJK fonts.
void SetUpApplication(QApplication& app);

}  // namespace hcalc
