#include "search/search_screen.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/stack.h"

namespace px::search {

SearchScreen::SearchScreen(const char* name) : Form(name) {}

bool SearchScreen::key_serves(int n) const {
    QPushButton* b = cmd_PF(n);
    return b != nullptr && b->isVisibleTo(this) && b->isEnabledTo(this);
}

bool SearchScreen::on_key_down(int key_code) {
    if (key_code >= kKeyF1 && key_code <= kKeyF12) {
        int n = key_code - kKeyF1 + 1;
        if (key_serves(n)) on_function_key(n);
        return true;
    }
    return on_other_key(key_code);
}

void SearchScreen::on_pf_click(int n) {
    if (key_serves(n)) on_function_key(n);
}

void SearchScreen::set_key_captions(std::initializer_list<std::pair<int, int32_t>> key_texts) {
    for (const auto& [n, text] : key_texts)
        if (QPushButton* b = cmd_PF(n)) b->setText(Caption(ScreenText(text, n <= 8 ? 8 : 9)));
}

void SearchScreen::msg(int16_t no) { DispMsg(no, lbl_Msg); }

void SearchScreen::go_back() {
    ScrBack();
    unload_form(*this);
}

void SearchScreen::go_menu() {
    ScrBackToMenu();
    unload_form(*this);
}

void SearchScreen::system_error() {
    msg(kMsgSystemError);
    ShowErrorDialog(*this);
    go_menu();
}

bool SearchScreen::open_next(const char* name) {
    SetDefaultPointer();
    if (!form_exists(name)) return false;
    ScrPush(load_form(name));
    unload_form(*this);
    return true;
}

QListWidget* SearchScreen::make_line_list(const char* object_name, bool multiple) {
    auto* list = new QListWidget(this);
    list->setObjectName(object_name);
    list->setFont(LineFont(!multiple));
    list->setSelectionMode(multiple ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    return list;
}

void SearchScreen::toggle_current_line(QListWidget* list) {
    QListWidgetItem* item = list->currentItem();
    if (item != nullptr) item->setSelected(!item->isSelected());
}

QLabel* SearchScreen::make_label(const char* object_name) {
    auto* label = new QLabel(this);
    label->setObjectName(object_name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

int LineWidth(int chars, bool bold) {
    return QFontMetrics(LineFont(bold)).horizontalAdvance(QString(chars, QLatin1Char('0')));
}

QString Caption(const QString& text) {
    QString s = text;
    return s.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString ScreenText(int32_t no, int width) { return ScrText(no, width); }

QString TitleText(int32_t no, int width) { return ScrText(no, width).trimmed(); }

QFont LineFont(bool bold) {
    QFont f = oem_font();
    f.setBold(bold);
    return f;
}

}  // namespace px::search
