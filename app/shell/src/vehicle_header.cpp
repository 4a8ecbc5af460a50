#include "shell/vehicle_header.h"

#include <algorithm>
#include <string>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>

#include "shell/codepage.h"
#include "shell/form.h"
#include "shell/messages.h"
#include "shell/pxall_entries.h"
#include "shell/vehicle_entries.h"

namespace px {

namespace {

constexpr const char* kDialog = "Vinf";

// Module state of the dialog's opening.
QPointer<Form> g_vinf_caller;
int16_t g_vinf_result = 0;

// Screen text and length of each caption, lbl_TVchl(1) to (14).
struct Caption {
    int32_t no;
    int len;
};
constexpr Caption kCaptions[kHeaderCaptions] = {{300, 18}, {301, 18}, {302, 18}, {303, 18}, {304, 18},
                                                {305, 18}, {306, 24}, {307, 18}, {308, 18}, {309, 10},
                                                {310, 6},  {311, 6},  {312, 7},  {313, 20}};

// A fixed-length text of the module: blank-padded, the accessor fills it.
struct Field {
    explicit Field(int len) : bytes(static_cast<size_t>(len), ' '), str{bytes.data(), len} {}
    QString text() const { return from_ansi(bytes); }
    std::string bytes;
    VbString str;
};

// A caption text: cut to its length (at a character boundary) or padded
// with blanks to its bytes.
QString caption_text(int32_t no, int len) {
    QString text = ScrText(no, len);
    const qsizetype bytes = static_cast<qsizetype>(to_ansi(text).size());
    return text + QString(std::max<qsizetype>(0, len - bytes), QChar(' '));
}

QLabel* label(Form& form, const QString& name) {
    auto* l = form.findChild<QLabel*>(name);
    if (l == nullptr) throw RuntimeError(kErrObjectNotSet, name.toStdString());
    return l;
}

QString indexed(const char* name, int n) { return QString("%1_%2").arg(name).arg(n); }

}  // namespace

void DispVehicleInfo(Form& form, bool with_captions) {
    if (with_captions) {
        QString captions[kHeaderCaptions];
        for (int i = 0; i < kHeaderCaptions; ++i) captions[i] = caption_text(kCaptions[i].no, kCaptions[i].len);
        for (int i = 0; i < kHeaderCaptions; ++i) label(form, indexed("lbl_TVchl", i + 1))->setText(captions[i]);
    }
    Field vin(17), cat(6), from(4), to(4), name(20), model(20), frame_model(7), frame_no(7), ad(6), color(3),
        trim(4), notes(30), charact1a(10), charact1b(10);
    lib::VBGetVin(&vin.str);
    lib::VBGetCat(&cat.str);
    lib::VBGetProDateF(&from.str);
    lib::VBGetProDateT(&to.str);
    lib::VBGetVName(&name.str);
    lib::VBGetModel(&model.str);
    lib::VBGetFrameModel(&frame_model.str);
    lib::VBGetFrameNo(&frame_no.str);
    lib::VBGetAd(&ad.str);
    lib::vehicle::VBGetColorNo(&color.str);
    lib::vehicle::VBGetTrimNo(&trim.str);
    lib::vehicle::VBGetNotes(&notes.str);
    lib::vehicle::VBGetCharact1(&charact1a.str, &charact1b.str);

    label(form, "lbl_Vin")->setText(vin.text());
    label(form, "lbl_MNm1")->setText(cat.text());
    label(form, "lbl_MNm2")->setText("(" + from.text() + "-" + to.text() + " " + name.text() + ")");
    label(form, "lbl_Model")->setText(model.text());
    label(form, "lbl_FNo")->setText(frame_model.text() + "-" + frame_no.text());
    label(form, "lbl_Pdate")->setText(ad.text());
    label(form, "lbl_Color")->setText(color.text());
    label(form, "lbl_Trim")->setText(trim.text());
    label(form, "lbl_Notes")->setText(notes.text());
    label(form, "lbl_MEngin")->setText(charact1a.text());
    for (int n = 0; n < kHeaderCharact2; ++n) {
        Field c(5);
        lib::vehicle::VBGetCharact2(static_cast<int16_t>(n), &c.str);
        label(form, indexed("lbl_Mchar", n))->setText(c.text());
    }
}

int16_t ShowVehicleInfoDialog(Form& caller) {
    g_vinf_caller = &caller;
    show_modal(load_form(kDialog));
    return g_vinf_result;
}

Form* VinfCaller() { return g_vinf_caller; }
int16_t& VinfResult() { return g_vinf_result; }

namespace {

// A caption holds its text padded with blanks to its field's length; it asks
// the layout only for the room its letters take, so that the padding of
// every caption does not add up to a header wider than the screen.
class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return trimmed_size(); }
    QSize minimumSizeHint() const override { return trimmed_size(); }

private:
    QSize trimmed_size() const {
        QString t = text();
        qsizetype n = t.size();
        while (n > 0 && t[n - 1] == ' ') --n;
        QSize hint = QLabel::sizeHint();
        int margins = contentsMargins().left() + contentsMargins().right() + 2 * margin();
        return QSize(fontMetrics().horizontalAdvance(t.left(n)) + margins, hint.height());
    }
};

}  // namespace

QWidget* make_vehicle_header(Form& form) {
    auto* box = new QWidget(&form);
    box->setObjectName("fra_Vehicle");
    const QFont font = oem_font();
    auto make = [&](const QString& name) {
        QLabel* l = name.startsWith("lbl_TVchl") ? new CaptionLabel(box) : new QLabel(box);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        l->setFont(font);
        return l;
    };
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    QLabel* caption[kHeaderCaptions + 1] = {};
    for (int i = 1; i <= kHeaderCaptions; ++i) caption[i] = make(indexed("lbl_TVchl", i));
    // Row 0: VIN, catalogue and its period and name.
    grid->addWidget(caption[1], 0, 0);
    grid->addWidget(make("lbl_Vin"), 0, 1);
    grid->addWidget(caption[2], 0, 2);
    auto* cat = new QHBoxLayout;
    cat->setSpacing(8);
    cat->addWidget(make("lbl_MNm1"));
    cat->addWidget(make("lbl_MNm2"));
    cat->addStretch(1);
    grid->addLayout(cat, 0, 3, 1, 3);
    // Row 1: model, frame, production date.
    grid->addWidget(caption[3], 1, 0);
    grid->addWidget(make("lbl_Model"), 1, 1);
    grid->addWidget(caption[4], 1, 2);
    grid->addWidget(make("lbl_FNo"), 1, 3);
    grid->addWidget(caption[5], 1, 4);
    grid->addWidget(make("lbl_Pdate"), 1, 5);
    // Row 2: colour, trim, notes.
    grid->addWidget(caption[6], 2, 0);
    grid->addWidget(make("lbl_Color"), 2, 1);
    grid->addWidget(caption[7], 2, 2);
    grid->addWidget(make("lbl_Trim"), 2, 3);
    grid->addWidget(caption[8], 2, 4);
    grid->addWidget(make("lbl_Notes"), 2, 5);
    // Rows 3 and 4: the characteristics under their captions.
    grid->addWidget(caption[9], 3, 0);
    auto* heads = new QHBoxLayout;
    heads->setSpacing(8);
    for (int i = 10; i <= kHeaderCaptions; ++i) heads->addWidget(caption[i]);
    heads->addStretch(1);
    grid->addLayout(heads, 3, 1, 1, 5);
    grid->addWidget(make("lbl_MEngin"), 4, 0);
    auto* chars = new QHBoxLayout;
    chars->setSpacing(4);
    for (int n = 0; n < kHeaderCharact2; ++n) chars->addWidget(make(indexed("lbl_Mchar", n)));
    chars->addStretch(1);
    grid->addLayout(chars, 4, 1, 1, 5);
    grid->setColumnStretch(5, 1);
    return box;
}

}  // namespace px
