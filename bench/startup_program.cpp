// The program as startup_bench starts it: pxdrom's own start (main.cpp) with
// the bench's commands on a socket (startup_child.h), which cost nothing
// until one comes. 'v' goes to the vehicle screen from the main menu and
// identifies a demo vehicle by its VIN; 'q' ends the program as F3 on the
// main menu does, so that no work file is left.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "shell/binding.h"
#include "shell/form.h"
#include "shell/gyom.h"
#include "shell/program.h"
#include "shell/stack.h"
#include "startup_child.h"

namespace {

void send_key(QWidget* to, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &press);
    QCoreApplication::sendEvent(to, &release);
}

bool to_vehicle_screen() {
    px::Form* menu = px::loaded_form(px::Gyom::kName);
    auto* item = menu != nullptr ? menu->findChild<QPushButton*>("cmd_Menu_1") : nullptr;
    if (item == nullptr) return false;
    item->click();
    px::Form* vjin = px::loaded_form("Vjin");
    auto* vin = vjin != nullptr ? vjin->findChild<QLineEdit*>("txt_Vin") : nullptr;
    if (vin == nullptr) return false;
    vin->setFocus();
    vin->setText("PX1AVS1600A200123");
    send_key(vin, Qt::Key_Return);
    return true;
}

void end_program() {
    if (px::Form* menu = px::loaded_form(px::Gyom::kName)) {
        px::ScrBackToMenu();
        menu->on_key_down(px::key_f(3));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    px::set_library_folder(PX_BIN_DIR);  // the program's libraries, beside pxdrom
    pxbench::BenchLink* link = nullptr;
    pxbench::BenchLink bench([&](char c) {
        if (c == 'v') link->reply_later(to_vehicle_screen() ? 'r' : 'x');
        if (c == 'd') {
            pxbench::describe_shown(std::getenv("PXBENCH_LAYOUT"));
            link->reply('k');
        }
        if (c == 'q') end_program();
    });
    link = &bench;
    if (!px::start_program()) return px::program_exit_code();
    return QApplication::exec();
}
