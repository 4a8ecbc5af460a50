#include "vlists/vinf.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "pxall/vbstring.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/vehicle_entries.h"
#include "shell/vehicle_header.h"
#include "vlists/list_records.h"
#include "vlists/record_file.h"

namespace px {

namespace {

constexpr int kPathSize = 80;
constexpr int16_t kFailed = -1;
constexpr int kMarkOn = 1;
constexpr int kMarkOff = 0;

namespace vf = vlists::vclinf;

int16_t i16_at(std::string_view b) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned char>(b[0])) |
                                static_cast<uint16_t>(static_cast<unsigned char>(b[1])) << 8);
}

// A line's text: its 29 bytes up to the first NUL.
QString line_text(std::string_view text) {
    size_t n = text.find('\0');
    return from_ansi(text.substr(0, n == std::string_view::npos ? text.size() : n));
}

}  // namespace

Vinf::Vinf() : Form(kName) {
    auto* layout = make_frame({.size = {560, 620}, .keys = {6, 12}, .bars = FrameSpec::Bars::KeysThenMessage,
                               .message = false, .placement = Placement::Kept});
    const QFont fixed = oem_font();
    for (int i = 0; i < 2; ++i) {
        fra_Vinf[i] = new QGroupBox(this);
        fra_Vinf[i]->setObjectName(QString("fra_Vinf_%1").arg(i));
    }
    auto* top = new QGridLayout(fra_Vinf[0]);
    for (int i = 0; i < 4; ++i) {
        lbl_Titel[i] = new QLabel(fra_Vinf[0]);
        lbl_Titel[i]->setObjectName(QString("lbl_Titel_%1").arg(i));
    }
    auto make = [&](const char* name) {
        auto* l = new QLabel(fra_Vinf[0]);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        l->setFont(fixed);
        return l;
    };
    lbl_Vin = make("lbl_Vin");
    lbl_CatalogCD = make("lbl_CatalogCD");
    lbl_CatalogName = make("lbl_CatalogName");
    lbl_Model = make("lbl_Model");
    lbl_FrameNo = make("lbl_FrameNo");
    lbl_Date = make("lbl_Date");
    top->addWidget(lbl_Titel[0], 0, 0);
    top->addWidget(lbl_Vin, 0, 1);
    top->addWidget(lbl_Titel[1], 1, 0);
    top->addWidget(lbl_CatalogCD, 1, 1);
    top->addWidget(lbl_CatalogName, 2, 1);
    top->addWidget(lbl_Titel[2], 3, 0);
    top->addWidget(lbl_Model, 3, 1);
    top->addWidget(lbl_FrameNo, 4, 1);
    top->addWidget(lbl_Titel[3], 5, 0);
    top->addWidget(lbl_Date, 5, 1);
    top->setColumnStretch(1, 1);
    layout->addWidget(fra_Vinf[0]);

    auto* bottom = new QVBoxLayout(fra_Vinf[1]);
    lst_Dat = new QListWidget(fra_Vinf[1]);
    lst_Dat->setObjectName("lst_Dat");
    lst_Dat->setSelectionMode(QAbstractItemView::MultiSelection);
    lst_Dat->setFont(fixed);
    bottom->addWidget(lst_Dat);
    layout->addWidget(fra_Vinf[1], 1);
    lbl_Dummy = new QLabel(this);
    lbl_Dummy->setObjectName("lbl_Dummy");
    lbl_Dummy->hide();

    // The highlight shows the marks: whatever the clerk does to it, the
    // marked lines, and only they, stay highlighted.
    connect(lst_Dat, &QListWidget::itemSelectionChanged, this,
            [this] { run("lst_Dat_Click", [this] { lst_Dat_Click(); }); });
}

void Vinf::on_load() {
    VinfResult() = 0;
    std::string path(kPathSize, '\0');
    VbString str{path.data(), kPathSize};
    lib::vehicle::vinf_get_path(&str);
    VinfFilePath = vlists::path_of(path);
    VINF_Set_Colors();
    VINF_Set_Captions();
    VinfMarkedLines.clear();
    VinfReady = 0;
    if (VINF_Read_File() == -1) {
        VinfResult() = kFailed;
        return;
    }
    VinfReady = 1;
    for (int i = 0; i < lst_Dat->count(); ++i)
        if (lst_Dat->item(i)->isSelected()) VinfMarkedLines.push_back(i);
}

void Vinf::VINF_Set_Colors() {
    // The button face for the dialog and both frames.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);
    for (QGroupBox* f : fra_Vinf) {
        f->setPalette(pal);
        f->setAutoFillBackground(true);
    }
}

void Vinf::VINF_Set_Captions() {
    QString title = ScrText(105, 29).trimmed();
    setWindowTitle(title);
    fra_Vinf[0]->setTitle(title);
    fra_Vinf[1]->setTitle(ScrText(106, 29).trimmed());
    for (int i = 0; i < 4; ++i) lbl_Titel[i]->setText(ScrText(107 + i, 29).trimmed());
    cmd_PF(6)->setText(ScrText(205, 8).trimmed());
    cmd_PF(12)->setText(ScrText(227, 11).trimmed());
}

// Shows the file; -1 when it cannot be read whole. A vehicle without
// feature lines is shown with an empty list.
int Vinf::VINF_Read_File() {
    try {
        vlists::RecordFile file(vf::kRecordSize);
        if (file.open(VinfFilePath) != 0) return -1;
        std::string_view head = file.at(0, vf::kHeaderRead);
        if (head.empty()) return -1;
        auto field = [&](size_t at, size_t len) { return vlists::shown_field(head.substr(at, len)); };
        lbl_Vin->setText(field(vf::kVin, vf::kVinSize));
        lbl_CatalogCD->setText(field(vf::kCatalog, vf::kCatalogSize));
        lbl_CatalogName->setText("(" + field(vf::kDateFrom, vf::kDateSize) + "-" + field(vf::kDateTo, vf::kDateSize) +
                                 " " + field(vf::kName, vf::kNameSize) + ")");
        lbl_Model->setText(field(vf::kModel, vf::kModelSize));
        lbl_FrameNo->setText("(" + field(vf::kFrameModel, vf::kFrameSize) + "-" + field(vf::kFrameNo, vf::kFrameSize) +
                             ")");
        lbl_Date->setText(field(vf::kProdDate, 4) + "-" + field(vf::kProdDate + 4, 2));
        const int16_t count = i16_at(head.substr(vf::kCount, 2));
        lst_Dat->clear();
        for (int i = 0; i < count; ++i) {
            std::string_view rec = file.at(vf::record_offset(static_cast<size_t>(i)), vf::kRecordSize - 1);
            if (rec.empty()) return -1;  // fewer lines in the file than its count
            lst_Dat->addItem(" " + line_text(rec.substr(vf::kText, vf::kTextSize)));
            const int16_t mark = i16_at(rec.substr(vf::kMark, 2));
            if (mark == kMarkOn) lst_Dat->item(i)->setSelected(true);
            else if (mark == kMarkOff) lst_Dat->item(i)->setSelected(false);
        }
        if (lst_Dat->count() > 0) lst_Dat->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        return 0;
    } catch (const RuntimeError&) {
        return -1;
    }
}

void Vinf::lst_Dat_Click() {
    if (VinfReady != 1 || restoring_) return;
    restoring_ = true;
    QSignalBlocker block(lst_Dat);
    for (int i = 0; i < lst_Dat->count(); ++i) lst_Dat->item(i)->setSelected(false);
    for (int i : VinfMarkedLines) lst_Dat->item(i)->setSelected(true);
    lst_Dat->viewport()->update();
    restoring_ = false;
}

void Vinf::on_activate() {
    if (VinfResult() == kFailed) VINF_Close();
}

bool Vinf::on_key_down(int key_code) {
    if (key_code == key_f(6)) {
        Form* caller = VinfCaller();
        if (caller == nullptr) throw RuntimeError(kErrObjectNotSet, "VinfCaller");
        HardCopy(*caller, lbl_Dummy);
    } else if (key_code == key_f(12) || key_code == kKeyEnter) {
        VINF_Close();
    } else {
        return false;
    }
    return true;
}

void Vinf::on_close_request() { VINF_Close(); }

void Vinf::VINF_Close() { unload_form(*this); }

PX_FORM(Vinf);

}  // namespace px
