#include "app/program.h"
#include "app/qt_dialogs.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hcalc::QtDialogs dialogs(hcalc::ApplicationTitle());
    return hcalc::RunProgram(app, dialogs);
}
