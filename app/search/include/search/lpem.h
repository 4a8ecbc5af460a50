// The figure list of the locally supplied parts: one line per figure of the
// vehicle that has local parts, as LPEMFNLS.TMP holds it (route_context:
// LpemFigListPath). The clerk marks figures; F10 makes them the figure list
// and opens the local-parts page Lpps, one marked figure a page.
#pragma once

#include <array>
#include <memory>

#include "search/search_screen.h"
#include "shell/listbox.h"

class QLabel;
class QListWidget;

namespace px::search {

class Lpem : public SearchScreen {
public:
    static constexpr const char* kName = "Lpem";
    Lpem();
    ~Lpem() override;

    std::array<QLabel*, 5> lbl_Ttl{};
    QLabel* lbl_Catalog = nullptr;
    QLabel* lbl_Model = nullptr;
    QListWidget* lst_FigNo = nullptr;

    void on_load() override;
    void on_activate() override;

protected:
    void on_function_key(int n) override;
    bool on_other_key(int key_code) override;

private:
    void Lpem_Exec();
    std::unique_ptr<ListBoxControl> list_control_;
};

}  // namespace px::search
