#include "app/application.h"
#include "app/main_window.h"
#include "app/qt_dialogs.h"
#include "app/quit_on_signal.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hcalc::SetUpApplication(app);
    hcalc::QuitOnTerminationSignals(app);
    hcalc::QtDialogs dialogs(hcalc::ApplicationTitle());
    TForm1 window(dialogs);
    window.showMaximized();
    return QApplication::exec();
}
