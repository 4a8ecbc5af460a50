#include "search/vehicle_labels.h"

#include <string>

#include <QGridLayout>
#include <QLabel>

#include "search/route_entries.h"
#include "search/search_screen.h"
#include "shell/codepage.h"
#include "shell/form.h"
#include "shell/pxall_entries.h"

namespace px::search {

namespace {

constexpr int kCaptions = 14;
constexpr int kCharact2 = 21;
// Widths of the caption texts 300 to 313.
constexpr int kCaptionWidth[kCaptions + 1] = {0, 18, 18, 18, 18, 18, 18, 24, 18, 18, 10, 6, 6, 7, 20};

QLabel* value_label(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setFont(LineFont());
    return l;
}

QLabel* find(Form& form, const QString& name) {
    auto* l = form.findChild<QLabel*>(name);
    if (l == nullptr) throw RuntimeError(kErrObjectNotSet, name.toStdString());
    return l;
}

}  // namespace

QWidget* make_vehicle_header(Form& form) {
    auto* box = new QWidget(&form);
    box->setObjectName("fra_Vehicle");
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(1);
    QLabel* caption[kCaptions + 1] = {};
    for (int i = 1; i <= kCaptions; ++i) {
        caption[i] = new QLabel(box);
        caption[i]->setObjectName(QString("lbl_TVchl_%1").arg(i));
        caption[i]->setTextFormat(Qt::PlainText);
    }
    // Caption and value side by side, in two columns of pairs.
    const char* values[] = {"lbl_Vin", "lbl_MNm1", "lbl_MNm2", "lbl_Model", "lbl_FNo",
                            "lbl_Pdate", "lbl_Color", "lbl_Trim", "lbl_Notes", "lbl_MEngin"};
    for (int i = 0; i < 10; ++i) {
        int row = i / 2, col = (i % 2) * 2;
        grid->addWidget(caption[i + 1], row, col);
        grid->addWidget(value_label(box, values[i]), row, col + 1);
    }
    auto* chars = new QWidget(box);
    auto* row = new QHBoxLayout(chars);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (int n = 0; n < kCharact2; ++n) row->addWidget(value_label(chars, QString("lbl_Mchar_%1").arg(n)));
    row->addStretch(1);
    grid->addWidget(caption[11], 5, 0);
    grid->addWidget(chars, 5, 1, 1, 3);
    auto* rest = new QHBoxLayout;
    for (int i = 12; i <= kCaptions; ++i) rest->addWidget(caption[i]);
    rest->addStretch(1);
    grid->addLayout(rest, 6, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

void DispVehicleInfo(Form& form, bool captions) {
    if (captions)
        for (int i = 1; i <= kCaptions; ++i)
            find(form, QString("lbl_TVchl_%1").arg(i))->setText(ScreenText(299 + i, kCaptionWidth[i]));
    std::string vin = VehicleField(px::lib::VBGetVin, 17);
    std::string cat = VehicleField(px::lib::VBGetCat, 6);
    std::string from = VehicleField(px::lib::VBGetProDateF, 4);
    std::string to = VehicleField(px::lib::VBGetProDateT, 4);
    std::string name = VehicleField(px::lib::VBGetVName, 20);
    std::string model = VehicleField(px::lib::VBGetModel, 20);
    std::string frame_model = VehicleField(px::lib::VBGetFrameModel, 7);
    std::string frame_no = VehicleField(px::lib::VBGetFrameNo, 7);
    std::string ad = VehicleField(lib::VBGetAd, 6);
    std::string color = VehicleField(lib::VBGetColorNo, 3);
    std::string trim = VehicleField(lib::VBGetTrimNo, 4);
    std::string notes = VehicleField(lib::VBGetNotes, 30);
    std::string c1(10, ' '), c2(10, ' ');
    VbString v1{c1.data(), 10}, v2{c2.data(), 10};
    lib::VBGetCharact1(&v1, &v2);
    for (char& c : c1)
        if (c == '\0') c = ' ';
    find(form, "lbl_Vin")->setText(from_ansi(vin));
    find(form, "lbl_MNm1")->setText(from_ansi(cat));
    find(form, "lbl_MNm2")->setText(from_ansi("(" + from + "-" + to + " " + name + ")"));
    find(form, "lbl_Model")->setText(from_ansi(model));
    find(form, "lbl_FNo")->setText(from_ansi(frame_model + "-" + frame_no));
    find(form, "lbl_Pdate")->setText(from_ansi(ad));
    find(form, "lbl_Color")->setText(from_ansi(color));
    find(form, "lbl_Trim")->setText(from_ansi(trim));
    find(form, "lbl_Notes")->setText(from_ansi(notes));
    find(form, "lbl_MEngin")->setText(from_ansi(c1));
    for (int16_t n = 0; n < kCharact2; ++n) {
        std::string s(5, ' ');
        VbString v{s.data(), 5};
        lib::VBGetCharact2(n, &v);
        for (char& c : s)
            if (c == '\0') c = ' ';
        find(form, QString("lbl_Mchar_%1").arg(n))->setText(from_ansi(s));
    }
}

}  // namespace px::search
