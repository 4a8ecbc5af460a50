// The vehicle-information dialog: the vehicle of VCLINF.TMP (VIN, catalogue,
// period and name, model, frame, production date) above the lines of its
// special features and codes, those that apply to the vehicle highlighted
// (the clerk cannot change the highlight). Opened only through
// ShowVehicleInfoDialog; F12 or Enter closes it, F6 prints the screen it was
// opened from. A file it cannot read sets the dialog-failed flag and the
// dialog closes at once; its caller reports the failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/form.h"

class QGroupBox;
class QLabel;
class QListWidget;

namespace px {

class Vinf : public Form {
public:
    static constexpr const char* kName = "Vinf";
    Vinf();

    QGroupBox* fra_Vinf[2] = {};
    QLabel* lbl_Titel[4] = {};
    QLabel* lbl_Vin = nullptr;
    QLabel* lbl_CatalogCD = nullptr;
    QLabel* lbl_CatalogName = nullptr;
    QLabel* lbl_Model = nullptr;
    QLabel* lbl_FrameNo = nullptr;
    QLabel* lbl_Date = nullptr;
    QListWidget* lst_Dat = nullptr;
    QLabel* lbl_Dummy = nullptr;

    // List indexes of the highlighted lines, in list order.
    const std::vector<int>& marked_lines() const { return VinfMarkedLines; }

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

private:
    void VINF_Set_Colors();
    void VINF_Set_Captions();
    int VINF_Read_File();
    void lst_Dat_Click();
    void VINF_Close();

    std::string VinfFilePath;
    // Every marked line is kept, however many the file marks.
    std::vector<int> VinfMarkedLines;
    int16_t VinfReady = 0;
    bool restoring_ = false;
};

}  // namespace px
