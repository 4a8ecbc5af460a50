#include "shell/printing.h"

#include <cmath>
#include <functional>

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/vbstring.h"
#include "shell/codepage.h"
#include "shell/form.h"
#include "shell/messages.h"
#include "shell/picture_box.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"

namespace px {

namespace {

constexpr const char* kModule = "PXSUBP01";
constexpr const char* kCourierNew = "Courier New";
const QString kMincho = QString::fromUtf8("ＭＳ 明朝");

// Fonts the system's names stand for, in order of preference (the faces
// the screens show them in too).
struct Served {
    QString name;
    QStringList by;
};
const std::vector<Served>& served_fonts() {
    static const std::vector<Served> served = {
        {kCourierNew, font_faces_for(kCourierNew)},
        {kMincho, font_faces_for(kMincho)},
    };
    return served;
}

bool printer_failure(const RuntimeError& e) { return e.number() == kErrPrinter || e.number() == kErrPrinterInfo; }

// A setting the printer does not support is passed over.
void tolerate_unsupported(const std::function<void()>& step) {
    try {
        step();
    } catch (const RuntimeError& e) {
        if (e.number() != kErrPrinterProperty) throw;
    }
}

QString rtrim_blanks(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.left(n);
}

// The job's state, for ending it soundly whatever fails: a started document
// is thrown away and the orientation put back.
class Job {
public:
    explicit Job(PrintDevice& p) : p_(p) {}
    void landscape() {
        tolerate_unsupported([&] {
            old_landscape_ = p_.landscape();
            taken_ = true;
            p_.set_landscape(true);
        });
    }
    void finish() {
        p_.end_doc();
        restore();
    }
    void abandon() {
        try {
            p_.kill_doc();
        } catch (const RuntimeError&) {
        }
        try {
            restore();
        } catch (const RuntimeError&) {
        }
    }

private:
    void restore() {
        if (!taken_) return;
        taken_ = false;
        tolerate_unsupported([&] { p_.set_landscape(old_landscape_); });
    }
    PrintDevice& p_;
    bool taken_ = false;
    bool old_landscape_ = false;
};

// The entry at FindPrinterFont's index becomes the font; a font the printer
// does not offer leaves the current one (at the new size).
void select_font(PrintDevice& p, int16_t index) {
    std::vector<QString> fonts = p.fonts();
    QString name = index >= 0 && index < static_cast<int16_t>(fonts.size()) ? fonts[index] : p.font_name();
    tolerate_unsupported([&] { p.set_font(name, 10); });
}

// A vehicle field through its accessor, at its fixed length.
QString vehicle_field(Declared<void(VbString*)>& accessor, int len) {
    std::string buf(static_cast<size_t>(len), ' ');
    VbString s{buf.data(), len};
    accessor(&s);
    return from_ansi(buf);
}

QString vehicle_vin() {
    std::string buf(17, ' ');
    VbString s{buf.data(), 17};
    lib::VBGetVin(&s);
    return from_ansi(buf);
}

// The Qt printer: the default printer, or PDF files in PXDROM_PRINT_DIR.
class QtPrintDevice : public PrintDevice {
public:
    QtPrintDevice() {
        for (const Served& s : served_fonts())
            for (const QString& by : s.by)
                if (QFontDatabase::hasFamily(by)) {
                    QFont::insertSubstitution(s.name, by);
                    break;
                }
    }
    ~QtPrintDevice() override {
        if (painter_.isActive()) painter_.end();
    }

    int dpi_x() override { return printer().resolution(); }
    int dpi_y() override { return printer().resolution(); }
    bool landscape() override { return printer().pageLayout().orientation() == QPageLayout::Landscape; }
    void set_landscape(bool on) override {
        if (!printer().setPageOrientation(on ? QPageLayout::Landscape : QPageLayout::Portrait))
            throw RuntimeError(kErrPrinterProperty, "Orientation");
    }
    std::vector<QString> fonts() override {
        std::vector<QString> list;
        for (const QString& f : QFontDatabase::families()) list.push_back(f);
        for (const Served& s : served_fonts())
            if (!QFont::substitutes(s.name).isEmpty()) list.push_back(s.name);
        return list;
    }
    QString font_name() override { return font_.family(); }
    void set_font(const QString& name, int points) override {
        font_ = QFont(name);
        font_.setPointSize(points);
        if (painter_.isActive()) painter_.setFont(font_);
    }
    void draw_image(const QRect& rect, const QImage& image) override {
        begin();
        painter_.drawImage(rect, image);
    }
    void draw_box(const QRect& rect) override {
        begin();
        painter_.setPen(QPen(Qt::black, 1));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    int print_line(int x, int y, const QString& text) override {
        begin();
        painter_.setFont(font_);
        QFontMetrics fm(font_, &printer());
        painter_.setPen(Qt::black);
        painter_.drawText(x, y + fm.ascent(), text);
        return y + fm.height();
    }
    void end_doc() override {
        if (painter_.isActive() && !painter_.end()) throw RuntimeError(kErrPrinter, "EndDoc");
    }
    void set_font_style(bool bold, bool italic, bool underline) override {
        font_.setBold(bold);
        font_.setItalic(italic);
        font_.setUnderline(underline);
        if (painter_.isActive()) painter_.setFont(font_);
    }
    int text_width(const QString& text) override {
        return QFontMetrics(font_, &printer()).horizontalAdvance(text);
    }
    int line_height() override { return QFontMetrics(font_, &printer()).height(); }
    void draw_text(int x, int y, const QString& text) override {
        begin();
        painter_.setFont(font_);
        painter_.setPen(Qt::black);
        painter_.drawText(x, y + QFontMetrics(font_, &printer()).ascent(), text);
    }
    void draw_line(int x1, int y1, int x2, int y2) override {
        begin();
        painter_.setPen(QPen(Qt::black, std::max(1, printer().resolution() / 150)));
        painter_.drawLine(x1, y1, x2, y2);
    }
    void new_page() override {
        begin();
        if (!printer().newPage()) throw RuntimeError(kErrPrinter, "NewPage");
    }
    QSize page_size() override { return {printer().width(), printer().height()}; }
    void kill_doc() override {
        if (!painter_.isActive()) return;
        printer().abort();
        painter_.end();
        if (!pdf_file_.isEmpty()) QFile::remove(pdf_file_);
    }

private:
    QPrinter& printer() {
        if (printer_) return *printer_;
        QString dir = qEnvironmentVariable("PXDROM_PRINT_DIR");
        if (!dir.isEmpty()) {
            printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setResolution(600);
            printer_->setPageSize(QPageSize(QPageSize::A4));
            printer_->setFullPage(true);
            print_dir_ = dir;
        } else {
            QPrinterInfo info = QPrinterInfo::defaultPrinter();
            if (info.isNull()) throw RuntimeError(kErrPrinterInfo, "Printer");
            printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        }
        return *printer_;
    }

    void begin() {
        if (painter_.isActive()) return;
        QPrinter& p = printer();
        pdf_file_.clear();
        if (!print_dir_.isEmpty()) {
            QDir().mkpath(print_dir_);
            for (int n = 1;; ++n) {
                QString name = QDir(print_dir_).filePath(QString("pxdrom-%1.pdf").arg(n, 4, 10, QChar('0')));
                if (!QFileInfo::exists(name)) {
                    pdf_file_ = name;
                    break;
                }
            }
            p.setOutputFileName(pdf_file_);
        }
        if (!painter_.begin(&p)) throw RuntimeError(kErrPrinter, "StartDoc");
        painter_.setFont(font_);
    }

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    QFont font_;
    QString print_dir_;
    QString pdf_file_;
};

}  // namespace

std::unique_ptr<PrintDevice> make_qt_printer() { return std::make_unique<QtPrintDevice>(); }

PrintDevice& Printer() {
    if (!seams().printer) throw RuntimeError(kErrPrinterInfo, "Printer");
    return seams().printer();
}

int printer_twips_per_pixel(int dpi) {
    if (dpi <= 0) throw RuntimeError(kErrPrinterInfo, "Resolution");
    return static_cast<int>(std::nearbyint(1440.0 / dpi));
}

int16_t FindPrinterFont(const QString& name) {
    std::vector<QString> fonts = Printer().fonts();
    QString wanted = rtrim_blanks(name);
    for (size_t i = 0; i < fonts.size() && i < 32767; ++i)
        if (rtrim_blanks(fonts[i]) == wanted) return static_cast<int16_t>(i);
    return -1;
}

QImage CaptureFormPicture(Form& form) {
    QImage body = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QFont font = form.font();
    font.setBold(true);
    int strip = QFontMetrics(font).height() + 10;
    QImage picture(body.width(), body.height() + strip, QImage::Format_RGB32);
    QPainter p(&picture);
    p.fillRect(0, 0, body.width(), strip, QColor(0, 0, 128));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(6, 0, body.width() - 12, strip), Qt::AlignVCenter | Qt::AlignLeft, form.windowTitle());
    p.drawImage(0, strip, body);
    p.end();
    return picture;
}

void HardCopy(Form& form, QLabel* msg) {
    SetHourglass();
    PrintDevice* printer = nullptr;
    std::unique_ptr<Job> job;
    try {
        QString vin = vehicle_vin();
        QString cat = vehicle_field(lib::VBGetCat, 6);
        QString from = vehicle_field(lib::VBGetProDateF, 4);
        QString to = vehicle_field(lib::VBGetProDateT, 4);
        QString vname = vehicle_field(lib::VBGetVName, 20);
        QString model = vehicle_field(lib::VBGetModel, 20);
        QString frame_model = vehicle_field(lib::VBGetFrameModel, 7);
        QString frame_no = vehicle_field(lib::VBGetFrameNo, 7);
        QString ad = vehicle_field(lib::VBGetAd, 6);
        QString cd_date = vehicle_field(lib::VBGetCrntCatCDDate, 8);

        printer = &Printer();
        int ux = printer->dpi_x() / 25, uy = printer->dpi_y() / 25;
        int left = 20 * ux, top = 6 * uy, info_top = 164 * uy;
        job = std::make_unique<Job>(*printer);
        job->landscape();

        QImage picture = CaptureFormPicture(form);
        int tx = printer_twips_per_pixel(printer->dpi_x()), ty = printer_twips_per_pixel(printer->dpi_y());
        if (tx == 0 || ty == 0) throw RuntimeError(kErrPrinterInfo, "Resolution");
        QSize size(picture.width() * display_twips().x / tx * 80 / 100,
                   picture.height() * display_twips().y / ty * 80 / 100);
        // A screen wider or higher than the page allows (as large as the
        // display) would run off its right edge or under the block.
        QSize room(printer->page_size().width() - 2 * left, info_top - 2 * uy - top);
        if (room.width() > 0 && room.height() > 0 && (size.width() > room.width() || size.height() > room.height()))
            size.scale(room, Qt::KeepAspectRatio);
        printer->draw_image(QRect(QPoint(left, top), size), picture);

        select_font(*printer, FindPrinterFont(kCourierNew));
        const QStringList lines = {
            "************   Information   ************************************************",
            " Program.................... Type-1",
            " Data....................... " + cd_date,
            " VIN/VDS.................... " + vin,
            " Model name/Catalog code.... " + cat + QString(14, ' ') + " (" + from + "-" + to + " " + vname + ")",
            " Model(Frame-No)............ " + model + " (" + frame_model + "-" + frame_no + ")",
            " Production Date(YYMM)...... " + ad.left(4) + "-" + ad.mid(4, 2),
            QString(77, '*'),
        };
        int y = info_top;
        for (const QString& line : lines) y = printer->print_line(left, y, line);
        job->finish();
        SetDefaultPointer();
    } catch (const RuntimeError& e) {
        if (job) job->abandon();
        SetDefaultPointer();
        if (printer_failure(e)) {
            DispMsg(842, msg);
            Beep();
        } else {
            WriteErrorLog(kModule, "HardCopy", "ErrProc", e.number(), 0, 0);
            DispMsg(999, msg);
        }
    }
}

int32_t PrintImage(int16_t mode, const std::string& path, const QString& title, int16_t code_page) {
    SetHourglass();
    std::unique_ptr<Job> job;
    try {
        PrintDevice& printer = Printer();
        int tx = printer_twips_per_pixel(printer.dpi_x()), ty = printer_twips_per_pixel(printer.dpi_y());
        if (tx == 0 || ty == 0) throw RuntimeError(kErrPrinterInfo, "Resolution");
        int ux = printer.dpi_x() / 25, uy = printer.dpi_y() / 25;
        int left = 20 * ux, top = 16 * uy, title_top = 4 * uy;
        job = std::make_unique<Job>(printer);
        job->landscape();

        QImage image;
        if (int32_t e = load_picture_file(path, &image); e != 0) throw RuntimeError(e, "ErrProc");

        int width = image.width(), height = image.height();
        if (mode != 3) {
            width /= 2;
            height /= 2;
        }
        int right = width * display_twips().x / tx + left;
        int bottom = height * display_twips().y / ty + top;

        int16_t font = -1;
        if (code_page == 932) font = FindPrinterFont(kMincho);
        if (font == -1) font = FindPrinterFont(kCourierNew);
        select_font(printer, font);

        int y = title_top;
        if (mode == 1 || mode == 2) {
            for (int from : {0, 74, 148}) y = printer.print_line(left, y, title.mid(from, from == 148 ? 52 : 74));
        } else if (mode == 3) {
            printer.print_line(left, y, title);
        }
        printer.draw_box(QRect(QPoint(left - 2, top - 2), QPoint(right + 4, bottom + 4)));
        printer.draw_image(QRect(left, top, right - left, bottom - top), image);
        job->finish();
        SetDefaultPointer();
        return 0;
    } catch (const RuntimeError& e) {
        if (job) job->abandon();
        SetDefaultPointer();
        if (printer_failure(e)) return 2000;
        WriteErrorLog(kModule, "PrintImage", "ErrProc", e.number(), 0, 0);
        return e.number();
    }
}

}  // namespace px
