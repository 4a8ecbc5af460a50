#include "prices/fsav.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/files.h"
#include "prices/fields.h"
#include "prices/prices_entries.h"
#include "shell/codepage.h"
#include "shell/column_heads.h"
#include "shell/list_lines.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

namespace lp = lib::prices;

constexpr int16_t kMsgGuide = 113;
constexpr int16_t kMsgOpening = 703;
constexpr int16_t kMsgDeleted = 806;
constexpr int16_t kMsgSeveral = 815;
constexpr int16_t kMsgNoneSelected = 852;
constexpr int16_t kMsgInUse = 856;
constexpr int16_t kMsgInUseMark = 858;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathSize = 80;

}  // namespace

QString save_list_line(std::string_view rec) {
    using prices::field;
    std::string date = field(rec, 68, 6), time = field(rec, 74, 6);
    std::string line = " " + field(rec, 0, 2) + std::string(5, ' ') + field(rec, 2, 4) + std::string(6, ' ') +
                       field(rec, 6, 17) + "   " + field(rec, 23, 15) + "  " + field(rec, 38, 30) + "  " +
                       date.substr(0, 2) + "/" + date.substr(2, 2) + "/" + date.substr(4, 2) + "  " +
                       time.substr(0, 2) + ":" + time.substr(2, 2) + ":" + time.substr(4, 2);
    return prices::shown(line);
}

QString renumbered_line(const QString& line, int position) {
    QString n = QString("%1").arg(position, 2, 10, QChar('0')).left(2);
    QString out = line;
    if (out.size() < 3) out += QString(3 - out.size(), ' ');
    out.replace(1, 2, n);
    return out;
}

Fsav::Fsav() : Form(kName) {
    auto* layout = make_frame({.size = {1120, 640}, .keys = {1, 2, 3, 4, 6, 10, 11}});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    lbl_title->setFont(QFont("Times New Roman", 16, QFont::Bold));
    layout->addWidget(lbl_title);

    QFont heading = oem_font(10);
    heading.setBold(true);
    lst_SaveFile = new QListWidget(this);
    lst_SaveFile->setObjectName("lst_SaveFile");
    lst_SaveFile->setFont(oem_font(12));
    // Each heading stands over the first cell of its column in the
    // 105-character lines of the list below.
    auto* heads = new QWidget(this);
    heads->setFixedHeight(QFontMetrics(heading).height() + 4);
    const char* names[7] = {"lbl_No", "lbl_FileID", "lbl_Vin", "lbl_FrameNo", "lbl_Note", "lbl_Date", "lbl_Time"};
    QLabel** targets[7] = {&lbl_No, &lbl_FileID, &lbl_Vin, &lbl_FrameNo, &lbl_Note, &lbl_Date, &lbl_Time};
    const int columns[7] = {1, 8, 18, 38, 55, 87, 97};
    for (int i = 0; i < 7; ++i) {
        auto* l = new QLabel(heads);
        l->setObjectName(names[i]);
        l->setFont(heading);
        l->move(list_cell_x(*lst_SaveFile, columns[i]), 2);
        *targets[i] = l;
    }
    layout->addWidget(heads);
    lst_SaveFile->setSelectionMode(QAbstractItemView::MultiSelection);
    lst_SaveFile->installEventFilter(this);
    lst_SaveFile->viewport()->installEventFilter(this);
    on_line_double_click(*this, lst_SaveFile, "lst_SaveFile_DblClick", [this](int row) { list_double_click(row); });
    layout->addWidget(lst_SaveFile, 1);
}

void Fsav::on_load() {
    SetHourglass();
    load_failed_ = false;
    const int widths[8] = {31, 3, 12, 17, 15, 9, 6, 6};
    QString title = prices::caption(3000, widths[0]);
    setWindowTitle(title);
    lbl_title->setText(title);
    QLabel* heads[7] = {lbl_No, lbl_FileID, lbl_Vin, lbl_FrameNo, lbl_Note, lbl_Date, lbl_Time};
    for (int i = 0; i < 7; ++i) {
        heads[i]->setText(prices::caption(3001 + i, widths[i + 1]));
        heads[i]->adjustSize();
    }
    DispMsg(kMsgGuide, lbl_Msg);
    Fsav_SetPFKeys();
    int32_t r = Fsav_SetSvList();
    if (r != 0) {
        WriteErrorLog("PXFSAV", "From_Load", "Fsav_SetSvList", r, 0, 0);
        DispMsg(kMsgSystemError, lbl_Msg);
        load_failed_ = true;
    } else if (lp::fsav_reset_mstflag() != 0) {
        load_failed_ = true;
    }
    SetDefaultPointer();
}

void Fsav::on_activate() {
    if (load_failed_) {
        load_failed_ = false;
        Fsav_ErrorExit();
    }
}

void Fsav::on_unload() {
    if (!ListFilePath.empty()) plat::delete_file(ListFilePath);
}

int32_t Fsav::Fsav_SetSvList() {
    prices::FixedString path(kPathSize);
    int16_t r = lp::fsav_exec_main(path.vb());
    ListFilePath = prices::rtrim(path.text());
    if (r != 0) return r;
    std::string bytes;
    if (int32_t rc = prices::read_file(ListFilePath, &bytes); rc != 0) return rc;
    const size_t n = bytes.size() / save_list_rec::kSize;
    for (size_t i = 0; i < n; ++i) {
        std::string_view rec = std::string_view(bytes).substr(i * save_list_rec::kSize, save_list_rec::kSize);
        auto* item = new QListWidgetItem(save_list_line(rec));
        item->setData(Qt::UserRole, prices::trim(prices::field(rec, 2, 4)).empty()
                                        ? 0
                                        : std::atoi(prices::field(rec, 2, 4).c_str()));
        lst_SaveFile->addItem(item);
    }
    return 0;
}

void Fsav::Fsav_SetPFKeys() {
    const int texts[7][2] = {{1, 200}, {2, 212}, {3, 202}, {4, 203}, {6, 205}, {10, 209}, {11, 210}};
    for (const auto& t : texts) cmd_PF(t[0])->setText(prices::caption(t[1], 9));
}

bool Fsav::on_key_down(int key_code) {
    if (key_code == kKeyEnter && focusWidget() == lst_SaveFile) {
        DispMsg(kMsgGuide, lbl_Msg);
        QListWidgetItem* item = lst_SaveFile->currentItem();
        if (item != nullptr) item->setSelected(!item->isSelected());
        return true;
    }
    for (int n : {1, 2, 3, 4, 6, 10, 11})
        if (key_code == key_f(n)) pf_click(n);
    return false;
}

bool Fsav::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lst_SaveFile && event->type() == QEvent::KeyPress) {
        DispMsg(kMsgGuide, lbl_Msg);
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            run("Form_KeyDown", [this] { pf_click(2); });
            return true;
        }
    } else if (watched == lst_SaveFile->viewport() && event->type() == QEvent::MouseButtonPress) {
        DispMsg(kMsgGuide, lbl_Msg);
    }
    return Form::eventFilter(watched, event);
}

void Fsav::pf_click(int index) {
    DispMsg(kMsgGuide, lbl_Msg);
    switch (index) {
        case 1: ShowHelp(*this); break;
        case 2: Fsav_DelSvFile(); break;
        case 3:
            ScrBack();
            unload_form(*this);
            break;
        case 4:
            ScrBackToMenu();
            unload_form(*this);
            break;
        case 6: HardCopy(*this, lbl_Msg); break;
        case 10: Fsav_OpenSvFile(); break;
        case 11: Fsav_ClearSelect(); break;
        default: break;
    }
}

void Fsav::list_double_click(int row) {
    DispMsg(kMsgGuide, lbl_Msg);
    if (row < 0 || row >= lst_SaveFile->count()) return;
    // The line double-clicked is the one to open, whatever else was selected
    // and whichever way the clicks toggled it.
    lst_SaveFile->clearSelection();
    lst_SaveFile->item(row)->setSelected(true);
    Fsav_OpenSvFile();
}

void Fsav::Fsav_OpenSvFile() {
    QList<QListWidgetItem*> selected = lst_SaveFile->selectedItems();
    if (selected.isEmpty()) {
        DispMsg(kMsgNoneSelected, lbl_Msg);
        Beep();
        return;
    }
    if (selected.size() > 1) {
        DispMsg(kMsgSeveral, lbl_Msg);
        Beep();
        return;
    }
    int16_t save_no = static_cast<int16_t>(selected.front()->data(Qt::UserRole).toInt());
    SetHourglass();
    DispMsg(kMsgOpening, lbl_Msg);
    prices::FixedString path(kPathSize);
    int16_t no = save_no;
    if (lp::fsad_check_flno(&no, path.vb()) != 0) {
        // Nothing to open: the prompt comes back instead of the progress text.
        SetDefaultPointer();
        DispMsg(kMsgGuide, lbl_Msg);
        return;
    }
    int16_t r = lp::fsav_check_saveFileflag(save_no, 1);
    SetDefaultPointer();
    if (r == 0) {
        Form& fsad = load_form("Fsad");
        ScrPush(fsad);
        unload_form(*this);
        return;
    }
    lp::fsav_clear_SelSaveflno();
    if (r == kMsgDeleted || r == kMsgInUseMark) {
        DispMsg(r, lbl_Msg);
        Beep();
        return;
    }
    Fsav_ErrorExit();
}

void Fsav::Fsav_DelSvFile() {
    const int count = lst_SaveFile->count();
    if (lst_SaveFile->selectedItems().isEmpty()) {
        DispMsg(kMsgNoneSelected, lbl_Msg);
        Beep();
        return;
    }
    std::vector<int> deleted;
    for (int i = 0; i < count; ++i) {
        QListWidgetItem* item = lst_SaveFile->item(i);
        if (!item->isSelected()) continue;
        int16_t save_no = static_cast<int16_t>(item->data(Qt::UserRole).toInt());
        int16_t r = lp::fsav_check_saveFileflag(save_no, 0);
        if (r == kMsgDeleted || r == kMsgInUse) {
            DispMsg(r, lbl_Msg);
            Beep();
            break;
        }
        if (r != 0) {
            Fsav_ErrorExit();
            return;
        }
        r = lp::fsav_svfile_delete(save_no);
        if (r == kMsgDeleted) {
            DispMsg(r, lbl_Msg);
            Beep();
            return;
        }
        if (r != 0) {
            Fsav_ErrorExit();
            return;
        }
        deleted.push_back(i);
    }
    if (deleted.empty()) return;
    for (auto it = deleted.rbegin(); it != deleted.rend(); ++it) delete lst_SaveFile->takeItem(*it);
    for (int i = 0; i < lst_SaveFile->count(); ++i) {
        QListWidgetItem* old = lst_SaveFile->takeItem(i);
        auto* item = new QListWidgetItem(renumbered_line(old->text(), i + 1));
        item->setData(Qt::UserRole, old->data(Qt::UserRole));
        delete old;
        lst_SaveFile->insertItem(i, item);
    }
    lst_SaveFile->clearSelection();
    if (lst_SaveFile->count() == 0) {
        ScrBackToMenu();
        unload_form(*this);
    }
}

void Fsav::Fsav_ClearSelect() { lst_SaveFile->clearSelection(); }

void Fsav::Fsav_ErrorExit() {
    SetDefaultPointer();
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    ScrBackToMenu();
    unload_form(*this);
}

PX_FORM(Fsav);

}  // namespace px
