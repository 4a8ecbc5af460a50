// The catalogue set-up screen: six status frames (areas E, G, U, J and the
// world and Japan frame-number sets), each with a tick box, a target drive
// and one status line per catalogue CD. The set-up library writes the
// selection files CATALOG.TMP and FRAME.TMP when the screen opens; F10 writes
// the clerk's choice back into them and runs the set-up (or, on a client
// installation, records the data sets already on the chosen drives).
#pragma once

#include <array>
#include <string>

#include "setup/status_block.h"
#include "shell/form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace px {

class Stup : public Form {
public:
    static constexpr const char* kName = "Stup";
    static constexpr int kFrames = 6;
    Stup();

    std::array<QGroupBox*, 2> Frame1{};
    std::array<QGroupBox*, kFrames> frm_Status{};
    std::array<QCheckBox*, kFrames> Chkb_Lang1{};
    std::array<QComboBox*, kFrames> Drive_CD{};
    std::array<QListWidget*, kFrames> lst_Status{};
    std::array<QPushButton*, kFrames> cmd_Add{};
    std::array<QPushButton*, kFrames> cmd_Del{};

    int16_t LoadStatus = 0;
    int16_t IsClient = 0;
    int16_t SetupInfoLoaded = 0;
    char CurrentDrive = ' ';
    std::string CatalogPath, FramePath, DriveInfoPath;
    std::string CatalogRecord, FrameRecord;
    setup::Words words;

    // The status frame marked current (background &HE0E0E0), or -1.
    int current_frame() const { return current_; }
    // The set-up screen's list of the current frame, or nullptr.
    QListWidget* current_status_list() const;

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void STUP_Select_Status_Frame(int index);
    void STUP_Get_Screen_Data();
    int32_t STUP_Set_Setuped_Info();
    int32_t SetupedDriveCheck(int index, bool from_tick_box);
    int32_t STUP_Write_Data();
    void cmd_Add_Click(int index);
    void cmd_Del_Click(int index);
    void lst_Status_DblClick(int index);

private:
    void tick_clicked(int index);
    void drive_changed(int index);
    void run_setup();
    void system_error();
    void fill_frame(int index, const std::string& block);
    std::string saved_directory_;
    int current_ = -1;
    bool filling_ = false;
};

}  // namespace px
