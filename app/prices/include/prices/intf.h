// The export dialog (Intf): the marked parts of the parts list, or the lines
// of the saved-list editor, written to a text or CSV file the clerk names;
// then the export program chosen in the list is started with that file.
// The opener sets the hand-over (shell/price_export_handover.h) and reads
// ExportFailed when the dialog returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/form.h"

class QLabel;
class QListWidget;

namespace px {

// The export file of a saved list at `path` (Windows-shaped or host): the
// text layout when the name ends in "txt" exactly, else CSV. 0, or the
// run-time error number (75 cannot be made, 61 cannot be written). The
// file is replaced whole or not at all.
int32_t write_saved_list_export(const std::string& path, const std::string& save_header,
                                const std::string& csv_header, const std::vector<std::string>& lines);

class Intf : public Form {
public:
    static constexpr const char* kName = "Intf";
    Intf();

    QLabel* lbl_Expppnho = nullptr;
    QListWidget* lst_Expppnho = nullptr;

    void on_load() override;
    bool on_key_down(int key_code) override;

private:
    void INTF_Set_Captions();
    bool Pnho_SelectFileType();
    void Pnho_LoadIntf();
    void INTF_Abort();

    std::string chosen_;  // the export file's path
};

}  // namespace px
