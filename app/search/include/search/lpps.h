// The local-parts page: one figure marked on the local-parts figure list a
// page, with the figure's picture, its number and name, and its local parts,
// in which the clerk picks parts and sets their quantities (01-99). The
// picks of every page stay together in the common library's local-price
// selection list; F10 writes them as LCPSEL.TMP and opens the parts list.
//
// The marks of the part list are the picks, which the library keeps: the
// list box never marks or unmarks a line by itself.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "search/search_screen.h"
#include "shell/listbox.h"

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;

namespace px {
class PictureBox;
class UpDown;
}  // namespace px

namespace px::search {

class Lpps : public SearchScreen {
public:
    static constexpr const char* kName = "Lpps";
    // The picture's display area.
    static constexpr int kAreaWidth = 643, kAreaHeight = 599;
    Lpps();
    ~Lpps() override;

    std::array<QLabel*, 5> lbl_Ttl{};
    QLabel* lbl_FigNo = nullptr;
    QLabel* lbl_FigName = nullptr;
    QLabel* lbl_NextEnd = nullptr;
    QFrame* pic_Cotn = nullptr;
    PictureBox* pic_LclFig = nullptr;
    QListWidget* lst_PartNo = nullptr;
    QLineEdit* txt_Qty = nullptr;
    UpDown* upd_Qty = nullptr;

    int16_t PageIndex = 0;
    std::string PageFigNo = std::string(4, ' ');
    std::string PageFigName = std::string(30, ' ');
    std::string PicturePath = std::string(80, '\0');
    std::string PartListPath = std::string(80, '\0');
    int16_t HasPicture = 0;
    int16_t LastPage = 0;
    int16_t ListBusy = 0;

    void on_load() override;
    void on_activate() override;
    void on_unload() override;

protected:
    void on_function_key(int n) override;
    bool on_other_key(int key_code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class QtyBox;
    // Fetches page n: the library's result; the picture status in *status.
    int32_t fetch(int16_t n, int16_t* status);
    int32_t Lpps_DispPage();
    void Lpps_SetKeys();
    void change_page(int step);
    void Lpps_PrintFigure();
    void Lpps_Exec();
    void Lpps_ClearSelection();
    void Lpps_VehicleInfo();
    void pick();
    void show_quantity();
    void step_quantity(int16_t step);
    std::string figure() const { return PageFigNo; }

    int16_t page_msg_ = 117;
    std::unique_ptr<ListBoxControl> list_control_;
    std::unique_ptr<QtyBox> qty_control_;
};

}  // namespace px::search
