#include <QApplication>

#include "app/program.h"
#include "platform/station_dir.h"
#include "ui/app_icon.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("parlomat");
    QApplication::setApplicationVersion(QString("%1.%2.%3")
                                            .arg(PARLOMAT_VERSION_MAJOR)
                                            .arg(PARLOMAT_VERSION_MINOR)
                                            .arg(PARLOMAT_VERSION_PATCH));
    QApplication::setDesktopFileName("parlomat");
    QApplication::setWindowIcon(parlomat::app_icon());
    // The program ends through the exit question, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    parlomat::Program program(parlomat::StationDirectory());
    program.start();
    return QApplication::exec();
}
