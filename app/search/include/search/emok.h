// The illustration index: the vehicle's index pages of the figure groups
// ticked on the search-route screen, each a whole picture of an area, a
// detail picture and the list of the page's figures. The clerk marks figures
// on either picture or in the list, across pages; the index library does the
// hit-testing and keeps the marks, the selected-figure list and the list's
// selection in step (the list box never marks a line itself). F10 hands the
// marked figures to the illustration screen.
#pragma once

#include <memory>
#include <string>

#include "search/search_screen.h"
#include "shell/listbox.h"

class QLabel;
class QListWidget;

namespace px {
class PictureBox;
}

namespace px::search {

class Emok : public SearchScreen {
public:
    static constexpr const char* kName = "Emok";
    // The part of an index bitmap that fills a picture box.
    static constexpr int kSourceWidth = 640, kSourceHeight = 352;
    Emok();
    ~Emok() override;

    PictureBox* pic_FigZen = nullptr;
    PictureBox* pic_FigSho = nullptr;
    QListWidget* lst_FigNo = nullptr;
    QLabel* lbl_TtlFigIdx = nullptr;
    QLabel* lbl_NextEnd = nullptr;

    int16_t PageNo = 0;
    int16_t LoadState = 0;
    std::string ZenBmpPath = std::string(80, '\0');
    std::string ShoBmpPath = std::string(80, '\0');
    std::string FigListPath = std::string(80, '\0');

    void on_load() override;
    void on_activate() override;
    void on_unload() override;

protected:
    void on_function_key(int n) override;
    bool on_other_key(int key_code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The page display: 0, the page's status (1, 2, 4) or -1 after a failure
    // (message 999 shown, an error-log line for a bitmap).
    int page_display(int16_t n, bool paging, const char* procedure);
    // 0, or the error number of a bitmap that could not be loaded.
    int32_t LoadStretchBitmap(int kind, const std::string& path);
    bool repaint_pictures(const char* procedure);
    void MenuVar_Back();
    void MenuVar_Menu();
    void change_page(int step);
    void MenuVar_Cler();
    void MenuVar_Bunz();
    void MenuVar_Vinf();
    // A pick's outcome; `focus_list` for all but Enter in the list.
    void after_pick(int32_t result, int16_t status, bool focus_list);

    std::unique_ptr<ListBoxControl> list_control_;
};

}  // namespace px::search
