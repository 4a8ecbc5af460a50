// The CD and drive choice dialog of the catalogue set-up screen: the clerk
// selects CDs and their source (CD-ROM or hard disk); OK writes them into the
// status list of the set-up screen's current frame, replacing the lines of
// the same CD kind and adding the others.
#pragma once

#include <array>
#include <string>

#include "shell/form.h"

class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace px {

class Stcs : public Form {
public:
    static constexpr const char* kName = "Stcs";
    // A status list holds at most this many lines (a block's CD entries).
    static constexpr int kMaxLines = 10;
    Stcs();

    QGroupBox* Frame_Setup = nullptr;
    QListWidget* List_CD = nullptr;
    std::array<QRadioButton*, 2> opt_Drive{};
    QPushButton* cmd_Ok = nullptr;
    QPushButton* cmd_Cancel = nullptr;
    std::string WordCdRom, WordHardDisk;  // 10 bytes each

    void on_load() override;
    void on_close_request() override;

    void List_CD_Click();
    void opt_Drive_Click(int index);
    void cmd_Ok_Click();
};

}  // namespace px
