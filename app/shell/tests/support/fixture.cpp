#include "support/fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QVBoxLayout>

#include "demo_texts.h"
#include "platform/drives.h"
#include "shell/program.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace fs = std::filesystem;

namespace pxtest {

Installation::Installation(bool with_texts) {
    std::string tmpl = (fs::temp_directory_path() / "pxshell-XXXXXX").string();
    if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp");
    root_ = tmpl;
    saved_cwd_ = fs::current_path().string();
    if (const char* t = std::getenv("TMP")) {
        had_tmp_ = true;
        saved_tmp_ = t;
    }
    write("PXDRIVES.SYS", "# the installation is drive C:\r\nC=.\r\n");
    write("PXDROM.SYS",
          "ECRAM=C:\\WORK\r\n"
          "ECMST=C:\\MST\r\n"
          "LANGUAGE=ENGLISH\r\n"
          "MENULANG=ENGLISH\r\n"
          "ECFIL=C:\\PROG\r\n"
          "CRNTAREA=EU\r\n");
    for (const char* dir : {"WORK", "MST", "PROG"}) fs::create_directories(fs::path(root_) / dir);
    if (with_texts) {
        pxbuild::demo::write_demo_texts(root_ + "/PROG", root_);
        write("PROG/PXGYOM01.HLP", "MAIN MENU\r\n\r\nChoose an item.\r\n  F1  Help\r\n  F3  End\r\n");
    }
    setenv("TMP", "C:\\", 1);
    fs::current_path(root_);
}

Installation::~Installation() {
    std::error_code ec;
    fs::current_path(saved_cwd_, ec);
    if (had_tmp_)
        setenv("TMP", saved_tmp_.c_str(), 1);
    else
        unsetenv("TMP");
    plat::clear_drives();
    fs::remove_all(root_, ec);
}

void Installation::write(const std::string& rel, const std::string& bytes) const {
    fs::path p = fs::path(root_) / rel;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

bool Installation::exists(const std::string& rel) const { return fs::exists(fs::path(root_) / rel); }

void Installation::remove(const std::string& rel) const { fs::remove(fs::path(root_) / rel); }

std::vector<std::string> Installation::log_lines() const {
    std::vector<std::string> lines;
    std::ifstream in(fs::path(root_) / "PXERROR.LOG", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto close = line.find(')');
        lines.push_back(close == std::string::npos ? line : line.substr(close + 1));
    }
    return lines;
}

std::vector<std::string> Installation::work_files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(fs::path(root_) / "WORK")) names.push_back(e.path().filename());
    return names;
}

// --- RecordingPrinter --------------------------------------------------------

void RecordingPrinter::record(const std::string& call) {
    if (!fail_at.empty() && call.rfind(fail_at, 0) == 0) {
        fail_at.clear();
        throw px::RuntimeError(fail_number, call);
    }
    calls.push_back(call);
}

int RecordingPrinter::dpi_x() {
    if (fail_at == "dpi") record("dpi");
    return dpi;
}
int RecordingPrinter::dpi_y() { return dpi; }
bool RecordingPrinter::landscape() { return is_landscape; }
void RecordingPrinter::set_landscape(bool on) {
    record("landscape " + std::to_string(on ? 1 : 0));
    is_landscape = on;
}
std::vector<QString> RecordingPrinter::fonts() { return font_list; }
QString RecordingPrinter::font_name() { return current_font; }
void RecordingPrinter::set_font(const QString& name, int points) {
    record("font " + name.toStdString() + " " + std::to_string(points));
    current_font = name;
}
void RecordingPrinter::draw_image(const QRect& r, const QImage& image) {
    std::ostringstream s;
    s << "image " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    record(s.str());
    last_image = image;
}
void RecordingPrinter::draw_box(const QRect& r) {
    std::ostringstream s;
    s << "box " << r.left() << "," << r.top() << "-" << r.right() << "," << r.bottom();
    record(s.str());
}
int RecordingPrinter::print_line(int x, int y, const QString& text) {
    std::ostringstream s;
    s << "text " << x << "," << y << ":" << text.toStdString();
    record(s.str());
    return y + line_px;
}
void RecordingPrinter::end_doc() { record("end"); }
QSize RecordingPrinter::page_size() {
    QSize a4(dpi * 210 * 10 / 254, dpi * 297 * 10 / 254);
    return is_landscape ? a4.transposed() : a4;
}
void RecordingPrinter::kill_doc() { record("kill"); }
void RecordingPrinter::set_font_style(bool bold, bool italic, bool underline) {
    record(std::string("style ") + (bold ? "1" : "0") + (italic ? " 1" : " 0") + (underline ? " 1" : " 0"));
}
int RecordingPrinter::text_width(const QString& text) { return char_width * static_cast<int>(text.size()); }
int RecordingPrinter::line_height() { return line_px; }
void RecordingPrinter::draw_text(int x, int y, const QString& text) {
    std::ostringstream s;
    s << "text " << x << "," << y << ":" << text.toStdString();
    record(s.str());
}
void RecordingPrinter::draw_line(int x1, int y1, int x2, int y2) {
    std::ostringstream s;
    s << "line " << x1 << "," << y1 << "-" << x2 << "," << y2;
    record(s.str());
}
void RecordingPrinter::new_page() { record("page"); }

std::vector<std::string> RecordingPrinter::texts() const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.rfind("text ", 0) == 0) out.push_back(c.substr(c.find(':') + 1));
    return out;
}

std::vector<std::string> RecordingPrinter::lines(int left) const {
    std::vector<std::string> out;
    int last_y = -1;
    for (const auto& c : calls) {
        if (c.rfind("text ", 0) != 0) continue;
        const size_t comma = c.find(','), colon = c.find(':');
        const int x = std::stoi(c.substr(5, comma - 5)), y = std::stoi(c.substr(comma + 1, colon - comma - 1));
        if (out.empty() || y != last_y) out.emplace_back();
        last_y = y;
        const std::string text = c.substr(colon + 1);
        const size_t at = static_cast<size_t>(std::max(0, (x - left) / char_width));
        std::string& line = out.back();
        if (line.size() < at + text.size()) line.resize(at + text.size(), ' ');
        line.replace(at, text.size(), text);
    }
    return out;
}

std::vector<std::vector<int>> RecordingPrinter::xs_by_line() const {
    std::vector<std::vector<int>> out;
    int last_y = -1;
    for (const auto& c : calls) {
        if (c.rfind("text ", 0) != 0) continue;
        const size_t comma = c.find(',');
        const int x = std::stoi(c.substr(5, comma - 5)), y = std::stoi(c.substr(comma + 1));
        if (out.empty() || y != last_y) out.emplace_back();
        last_y = y;
        out.back().push_back(x);
    }
    return out;
}

// --- TestScreen --------------------------------------------------------------

namespace {

px::Declared<int32_t()> missing_entry{"PXGONE", "_gone_exec@0"};

const bool registered = [] {
    for (const char* name : {"Scra", "Scrb", "Scrc", "Scrd", "Scre", "Longname", "Ab"})
        px::register_form(name, [name] { return new TestScreen(name); });
    return true;
}();

}  // namespace

TestScreen::TestScreen(const char* name) : px::Form(name) {
    setWindowTitle(QString("Test screen %1").arg(name));
    resize(400, 200);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(make_key_bar({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    layout->addWidget(make_message_line());
}

void TestScreen::on_load() { events().push_back(name() + " load"); }
void TestScreen::on_activate() { events().push_back(name() + " activate"); }
void TestScreen::on_unload() { events().push_back(name() + " unload"); }

bool TestScreen::on_key_down(int key_code) {
    if (key_code == px::key_f(3)) {
        px::ScrBack();
        px::unload_form(*this);
    } else if (key_code == px::key_f(4)) {
        px::ScrBackToMenu();
        px::unload_form(*this);
    } else if (key_code == px::key_f(5)) {
        missing_entry();
    }
    return false;
}

std::vector<std::string>& TestScreen::events() {
    static std::vector<std::string> e;
    return e;
}

// --- FormsTest ---------------------------------------------------------------

void FormsTest::SetUp() {
    px::reset_seams();
    px::reset_program();
    auto& s = px::seams();
    s.beep = [this] { ++beeps; };
    s.printer = [this]() -> px::PrintDevice& { return printer; };
    s.flash_window = [](QWidget*, int32_t state) { return state == 0 ? 1 : 0; };
    s.display = [] { return px::DisplayMetrics{1280, 1024, 15, 15}; };
    s.modal_shown = [this](px::Form& f) {
        modals.push_back(f.name());
        auto it = actions_.find(f.name());
        if (it != actions_.end()) {
            it->second(f);
        } else {
            std::string shown;
            if (auto* list = f.findChild<QListWidget*>())
                for (int i = 0; i < list->count(); ++i) shown += "\n  " + list->item(i)->text().toStdString();
            ADD_FAILURE() << "modal window " << f.name() << " left unanswered" << shown;
            px::unload_form(f);
        }
    };
    px::install_forms_kit();
    TestScreen::events().clear();
}

void FormsTest::TearDown() {
    for (px::Form* f : px::loaded_forms()) px::unload_form(*f);
    settle();
    px::ScrTerm();
    px::reset_seams();
    px::reset_program();
}

void FormsTest::on_modal(const std::string& name, std::function<void(px::Form&)> action) {
    actions_[name] = std::move(action);
}

void FormsTest::key(px::Form& form, int qt_key) {
    QWidget* target = form.focusWidget() != nullptr ? form.focusWidget() : &form;
    QTest::keyClick(target, static_cast<Qt::Key>(qt_key));
}

void FormsTest::settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// --- ProgramTest -------------------------------------------------------------

void ProgramTest::SetUp() {
    FormsTest::SetUp();
    inst = std::make_unique<Installation>();
}

void ProgramTest::TearDown() {
    // A test that did not end the program leaves the library's state behind.
    if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) {
        try {
            px::lib::drom_term();
        } catch (const px::RuntimeError&) {
        }
    }
    FormsTest::TearDown();
    inst.reset();
}

bool ProgramTest::start() { return px::start_program(); }

}  // namespace pxtest
