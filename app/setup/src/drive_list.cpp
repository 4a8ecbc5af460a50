#include "setup/drive_list.h"

#include <cctype>

#include <QComboBox>

#include "platform/drives.h"

namespace px::setup {

void fill_drive_list(QComboBox* list) {
    list->clear();
    for (char c = 'a'; c <= 'z'; ++c)
        if (plat::drive_dir(c)) list->addItem(QString("%1:").arg(QChar(c)));
}

char drive_letter(const QComboBox* list) {
    QString t = list->currentText();
    if (t.isEmpty()) return ' ';
    return static_cast<char>(std::toupper(static_cast<unsigned char>(t.at(0).toLatin1())));
}

bool set_drive(QComboBox* list, char letter) {
    char want = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).at(0).toLatin1() == want) {
            list->setCurrentIndex(i);
            return true;
        }
    return false;
}

}  // namespace px::setup
