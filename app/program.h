#pragma once

#include <functional>

class Dialogs;
class QApplication;
class TForm1;

namespace hcalc {

// The program's run, once its QApplication exists: the main window, shown
// maximised; the offer of a design that an earlier run left behind; the
// design file named on the command line; then events until the window is
// closed. started, if given, is called once all that is done (a test's
// script). Returns the exit status.
int RunProgram(QApplication& app, Dialogs& dialogs, const std::function<void(TForm1&)>& started = {});

}  // namespace hcalc
