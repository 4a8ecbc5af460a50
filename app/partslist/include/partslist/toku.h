// The feature pop-up over the parts list: the special-feature kinds the
// engine wrote and, for the kind picked, its codes with their descriptions;
// at most one code a kind is marked, and F12 hands the marked codes to the
// engine, which checks them and makes them the vehicle's.
//
// Kind file: 22-byte records, 0/2 kind number, 2/20 name. Code file: 85-byte
// records, 0/2 sequence, 2/2 kind number, 4/10 code, 14/70 description,
// 84/1 mark ("S" chosen). A code may take several records in a row.
#pragma once

#include <string>
#include <vector>

#include "shell/form.h"

class QLabel;
class QListWidget;

namespace px {

class Toku : public Form {
public:
    static constexpr const char* kName = "Toku";
    Toku();

    QListWidget* lst_Tokume = nullptr;
    QListWidget* lst_Kigouu = nullptr;
    QLabel* lbl_Tokume = nullptr;
    QLabel* lbl_Kigouu = nullptr;

    // The records as read, marks changing while the pop-up is open.
    std::vector<std::string> FeatureKinds;
    std::vector<std::string> FeatureCodes;
    struct Preset {
        size_t record;  // position in FeatureCodes
        int kind;
        std::string code;
    };
    std::vector<Preset> PresetFeatures;

    void on_load() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

    void lst_Tokume_Click();
    void lst_Kigouu_Click();

private:
    void Toku_ShowChosen();
    void fill_kinds();
    QString kind_name(int line) const;
    void close_window();
    bool closed_ = false;
};

}  // namespace px
