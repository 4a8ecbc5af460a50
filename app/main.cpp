// pxdrom: the parts catalogue. Started in the installation folder, which
// holds the drive table PXDRIVES.SYS and the environment file PXDROM.SYS.
#include <QApplication>

#include "shell/program.h"

int main(int argc, char** argv) {
    px::join_threads_at_exit();
    QApplication app(argc, argv);
    // The menu hides while another screen is on top: the program ends only
    // through the menu's end of program.
    QApplication::setQuitOnLastWindowClosed(false);
    int code = px::start_program() ? QApplication::exec() : px::program_exit_code();
    px::close_application();
    return code;
}
