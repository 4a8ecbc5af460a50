// The local-parts set-up dialog, shown over the set-up menu: the dealer picks
// a local-parts source file (LOCALP, LOCALP1, LOCALP2 or LOCALP3), builds or
// merges the set it names, takes further files into the same set, and for
// set 3 copies the figure pictures the data name into the local-price
// directory. Its messages go to the set-up menu's message line.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "shell/form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace px {

class ListBoxControl;

class Stlp : public Form {
public:
    static constexpr const char* kName = "Stlp";
    static constexpr int kSmallHeight = 2745;  // twips: the source-file part only
    static constexpr int kLargeHeight = 7335;  // twips: with the picture part of set 3
    Stlp();
    ~Stlp() override;

    QGroupBox* frm_Setup = nullptr;
    QLabel* lbl_TFileName = nullptr;
    QLabel* lbl_FileName = nullptr;
    QLabel* lbl_TFileType = nullptr;
    QLabel* lbl_FileType = nullptr;
    QPushButton* cmd_Refer = nullptr;
    QPushButton* cmd_Exec = nullptr;
    QPushButton* cmd_Clear = nullptr;
    QPushButton* cmd_Exit = nullptr;
    QGroupBox* frm_ImgType = nullptr;
    QComboBox* lst_Drive = nullptr;
    QListWidget* lst_Dir = nullptr;
    QListWidget* lst_File = nullptr;
    QListWidget* lst_Image = nullptr;
    QPushButton* cmd_ImgCopy = nullptr;

    int16_t type = 0;  // source kind 0-3
    std::array<std::string, 4> kind_names;
    std::string chosen_file;  // the dialog's file name (Windows-shaped)
    std::string dir_path;     // the directory list's path (Windows-shaped)

    void on_load() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

    // The dialog's filter, with the entry of `filter_index` (1-4) first: the
    // entry the dialog selects.
    std::string filter(int16_t filter_index) const;
    // The source kind a chosen file's name gives.
    static int16_t kind_of(const std::string& name);
    void STLP_Set_File_Info();
    void STLP_Close();
    void STLP_Clear();
    void STLP_Exec();
    int16_t Get_User_File(int16_t filter_index);
    void cmd_Refer_Click();
    void cmd_ImgCopy_Click();
    // Makes `path` the directory list's path; false when it cannot be read.
    bool set_dir(const std::string& path);

private:
    void set_type_text(const QString& text);
    void set_height(int twips, bool centre_on_large);
    void fail();
    std::unique_ptr<ListBoxControl> image_control_;
    std::unique_ptr<ListBoxControl> file_control_;
};

}  // namespace px
