// The part-name-code pick lists, modal over an entry list: Spnc ("PNC
// SELECT") lists the codes that begin with the prefix the clerk typed with
// "*" (PNCPOP.TMP), Kgpl ("GROUP PNC SEARCH") the codes of the current user
// part group. F10 appends the marked lines, each with quantity "01", to the
// end of the entry list that opened the pop-up (route_context:
// PncEntryList, GrpPncEntryList). A pop-up that ends with a system error
// sets PickListToMenu, and its owner goes back to the main menu.
#pragma once

#include <array>
#include <memory>

#include "search/search_screen.h"
#include "shell/listbox.h"

class QLabel;
class QListWidget;

namespace px::search {

class Spnc : public SearchScreen {
public:
    static constexpr const char* kName = "Spnc";
    Spnc() : Spnc(kName, false) {}
    ~Spnc() override;

    QListWidget* pick_list = nullptr;  // lst_Pnc, in Kgpl lst_GrpPnc
    std::array<QLabel*, 4> lbl_Ttl{};
    QLabel* lbl_GrpCd = nullptr;  // Kgpl only
    QLabel* lbl_GrpNm = nullptr;

    int16_t PickState = 0;

    void on_load() override;
    void on_activate() override;
    void on_close_request() override;

protected:
    Spnc(const char* name, bool group);
    void on_function_key(int n) override;
    bool on_other_key(int key_code) override;

private:
    void SPNC_Exec();
    const bool group_;
    std::unique_ptr<ListBoxControl> list_control_;
};

class Kgpl : public Spnc {
public:
    static constexpr const char* kName = "Kgpl";
    Kgpl() : Spnc(kName, true) {}
};

}  // namespace px::search
