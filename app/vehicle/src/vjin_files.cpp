// Vehicle-information files: the screen chooses the file, the engine reads
// or writes it.
#include <QLineEdit>

#include "platform/drives.h"
#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/seams.h"
#include "vehicle/pxvjin_entries.h"
#include "vehicle/vjin.h"

namespace px {

namespace {
constexpr int16_t kMsgGuide = 100;
constexpr int16_t kMsgRefused = 860;
constexpr int kDirSize = 256;
const char* kFilter = "Text File(*.txt)|*.txt|CSV File(*.csv)|*.csv";
}  // namespace

bool Vjin::choose_file(bool save, int16_t& filter_index, QString* chosen, const char* procedure) {
    std::string dir(kDirSize, '\0');
    VbString d{dir.data(), kDirSize};
    lib::vjin::VBGetPathName(1, &d);
    std::string saved = plat::current_directory();
    if (saved.empty() || saved.size() >= kDirSize) {
        WriteErrorLog("PXVJIN", procedure, "GetCurrentDirectory", 1, 0, 0);
        failure_path();
        return false;
    }
    FileChoice c;
    c.save = save;
    c.filter = kFilter;
    std::string win_dir = field_text(dir.data(), dir.size()).trimmed().toStdString();
    std::optional<std::string> host_dir = plat::host_path(win_dir);
    c.initial_dir = QString::fromStdString(host_dir ? *host_dir : win_dir);
    c.filter_index = filter_index;
    // The engine writes the form the extension names: a bare name takes
    // the type chosen.
    c.add_extension = save;
    QString path = ChooseFile(this, c);
    filter_index = static_cast<int16_t>(c.filter_index);
    bool restored = plat::set_current_directory(saved);
    if (!restored) {
        WriteErrorLog("PXVJIN", procedure, "SetCurrentDirectory", path.isEmpty() ? 2 : 1, 0, 0);
        failure_path();
        return false;
    }
    if (path.isEmpty()) return false;
    // The engine takes the path in the system's own form.
    *chosen = QString::fromStdString(plat::windows_path(path.toStdString()));
    return true;
}

bool Vjin::VJIN_Get_file(int16_t& filter_index, QString* chosen) {
    return choose_file(false, filter_index, chosen, "VJIN_Get_file");
}

bool Vjin::VJIN_Set_file(int16_t& filter_index, QString* chosen) {
    return choose_file(true, filter_index, chosen, "VJIN_Set_file");
}

void Vjin::cmd_Vinfo_Click(int index) {
    int16_t filter = 1;
    QString path;
    if (index == 0) {
        if (!VJIN_Get_file(filter, &path)) return;
        int32_t r = lib::vjin::get_vinf(path.toStdString().c_str());
        // An entry of the file that its check refused (left out of the
        // vehicle); named once the identification it starts has run.
        int16_t refused = 0;
        if (r != -1) {
            VJIN_Set_Areas();
            VJIN_Set_Keys();
            VjinShowFields(3);
            guide();
            refused = lib::vjin::check_msgid();
        }
        switch (r) {
            case 0:
                // Nothing to identify with: a refused entry of the file, named
                // above, says more than 860.
                if (refused == 0) {
                    DispMsg(kMsgRefused, lbl_Msg);
                    Beep();
                }
                focus(txt_Vin);
                break;
            case 1: VJIN_Check_Model(); break;
            case 2: VJIN_Check_Frame(); break;
            case 4: VJIN_Check_Vin(); break;
            case 8: focus(txt_Pdate1); break;
            case 16: focus(txt_Color); break;
            case 32: focus(txt_Trim); break;
            case 64: focus(txt_Notes); break;
            case 99: VJIN_Menu(); break;
            default: failure_path(); break;
        }
        // Unless the identification itself ended on a refusal of its own.
        if ((r == 1 || r == 2 || r == 4) && refused != 0 && loaded() && !unloading_ && lib::vjin::check_msgid() == 0) {
            DispMsg(refused, lbl_Msg);
            Beep();
        }
    } else if (index == 1) {
        if (!VJIN_Set_file(filter, &path)) return;
        if (lib::vjin::set_vinf(path.toStdString().c_str()) != 0) failure_path();
    }
}

}  // namespace px
