#include "prices/pric.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/files.h"
#include "prices/fields.h"
#include "shell/codepage.h"
#include "shell/column_heads.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/price_export_handover.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 105;
constexpr int16_t kMsgSystemError = 999;
constexpr size_t kMaxRecords = 32767;

}  // namespace

QString price_list_line(std::string_view rec) {
    using prices::field;
    std::string line = field(rec, 71, 1) == "S" ? "*" : " ";
    line += field(rec, 0, 2) + "  " + field(rec, 2, 6) + "  " + field(rec, 8, 2) + "   " + field(rec, 10, 14) + "  " +
            field(rec, 24, 27) + "  " + field(rec, 51, 10) + "  " + field(rec, 61, 10);
    return prices::shown(line);
}

Pric::Pric() : Form(kName) {
    auto* layout = make_frame({.size = {900, 680}, .keys = {1, 3, 6}, .placement = Placement::Kept});
    lbl_Mode = new QLabel(this);
    lbl_Mode->setObjectName("lbl_Mode");
    lbl_Mode->setAlignment(Qt::AlignRight);
    layout->addWidget(lbl_Mode);
    lst_Price = new QListWidget(this);
    lst_Price->setObjectName("lst_Price");
    lst_Price->setFont(oem_font(12));
    // Each box spans its column of the 85-character lines and half the gaps
    // beside it, in the list's own face.
    const std::vector<ColumnSpan> spans = {{0, 4}, {4, 8}, {12, 5}, {17, 16}, {33, 29}, {62, 12}, {74, 12}};
    auto* heads = new ColumnHeads(lst_Price, spans, 2, this);
    const char* names[7] = {"lbl_No", "lbl_Pnc", "lbl_Qty", "lbl_Pn", "lbl_Pname", "lbl_Lp", "lbl_Remark"};
    QLabel** targets[7] = {&lbl_No, &lbl_Pnc, &lbl_Qty, &lbl_Pn, &lbl_Pname, &lbl_Lp, &lbl_Remark};
    for (int i = 0; i < 7; ++i) {
        heads->head(i)->setObjectName(names[i]);
        *targets[i] = heads->head(i);
    }
    layout->addWidget(heads);
    // A whole line beside the scroll bar, so that the lines never scroll
    // sideways away from their headings.
    lst_Price->setMinimumWidth(list_cell_x(*lst_Price, 86) + lst_Price->frameWidth() +
                               lst_Price->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    layout->addWidget(lst_Price, 1);
}

void Pric::on_load() {
    PriceExportHandover& h = price_export_handover();
    int32_t record = 0;
    try {
        SetHourglass();
        LoadFailed = 0;
        h.PriceListFailed = 0;
        PRIC_Set_PFKeys();
        PRIC_Set_Captions();
        std::string bytes;
        int32_t rc = prices::read_file(h.PriceFilePath, &bytes);
        if (rc != 0) throw RuntimeError(rc, "");
        const size_t n = bytes.size() / price_list_rec::kSize;
        if (n > kMaxRecords) throw RuntimeError(6, "");  // overflow of the 16-bit count
        for (size_t i = 0; i < n; ++i) {
            record = static_cast<int32_t>(i + 1);
            lst_Price->addItem(
                price_list_line(std::string_view(bytes).substr(i * price_list_rec::kSize, price_list_rec::kSize)));
        }
        SetDefaultPointer();
    } catch (const RuntimeError& e) {
        WriteErrorLog("PXPRIC", "Form_Load", "", e.number(), record, 0);
        LoadFailed = 1;
    }
}

void Pric::on_activate() {
    if (LoadFailed == 0) return;
    LoadFailed = 0;
    DispMsg(kMsgSystemError, lbl_Msg);
    Beep();
    price_export_handover().PriceListFailed = 1;
    ShowErrorDialog(*this);
    unload_form(*this);
}

void Pric::on_unload() {
    const std::string& path = price_export_handover().PriceFilePath;
    if (!path.empty()) plat::delete_file(path);
}

void Pric::PRIC_Set_PFKeys() {
    for (int n : {1, 3, 6}) cmd_PF(n)->setText(prices::caption(199 + n, 9));
    DispMsg(kMsgGuide, lbl_Msg);
}

void Pric::PRIC_Set_Captions() {
    setWindowTitle(prices::caption(2301, 18));
    lbl_No->setText(prices::caption(2302, 2));
    // The header holds two lines.
    lbl_Pnc->setText(prices::caption(2303, 6) + "\n" + prices::caption(2304, 7));
    lbl_Qty->setText(prices::caption(2305, 5));
    lbl_Pn->setText(prices::caption(2306, 12));
    lbl_Pname->setText(prices::caption(2307, 17));
    lbl_Lp->setText(prices::caption(2308, 6));
    lbl_Remark->setText(prices::caption(2309, 8));
    const int16_t kind = price_export_handover().PriceKind;
    lbl_Mode->setText(kind >= 0 && kind <= 2 ? prices::caption(2310 + kind, 13) : QString());
}

bool Pric::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        ShowHelp(*this);
    } else if (key_code == key_f(3)) {
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        Form* owner = GetModalOwner();
        HardCopy(owner != nullptr ? *owner : *this, lbl_Msg);
    }
    return false;
}

PX_FORM(Pric);

}  // namespace px
