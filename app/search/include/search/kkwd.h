// The keyword result list: every part name of the vehicle's catalogue that
// the keyword search found, one line per part-name code and figure as the
// result file KKWDPNC.TMP holds it (route_context: KeywordResultPath). The
// clerk marks lines; F10 makes their figures the figure list and their codes
// the selection, and opens the illustration screen.
#pragma once

#include <array>
#include <memory>

#include "search/search_screen.h"
#include "shell/listbox.h"

class QLabel;
class QListWidget;

namespace px::search {

class Kkwd : public SearchScreen {
public:
    static constexpr const char* kName = "Kkwd";
    Kkwd();
    ~Kkwd() override;

    std::array<QLabel*, 7> lbl_Ttl{};
    QLabel* lbl_Catalog = nullptr;
    QLabel* lbl_Model = nullptr;
    QLabel* lbl_KeyWord = nullptr;
    QListWidget* lst_KeyWord = nullptr;

    void on_load() override;
    void on_activate() override;
    int32_t list_handle() const { return list_control_->hwnd(); }

protected:
    void on_function_key(int n) override;
    bool on_other_key(int key_code) override;

private:
    void KKWD_Load_Text();
    void KKWD_Exec();

    std::unique_ptr<ListBoxControl> list_control_;
};

}  // namespace px::search
