// The list of the user part groups: one line per group of the group work
// table (its code and description), loaded by the search-route screen. F10
// passes the chosen group on to the group's entry list Kgrp.
#pragma once

#include <array>
#include <memory>

#include "search/search_screen.h"
#include "shell/listbox.h"

class QLabel;
class QListWidget;

namespace px::search {

class Kgrl : public SearchScreen {
public:
    static constexpr const char* kName = "Kgrl";
    Kgrl();
    ~Kgrl() override;

    std::array<QLabel*, 5> lbl_Ttl{};
    QLabel* lbl_Catalog = nullptr;
    std::array<QLabel*, 2> lbl_Vehicle{};
    QListWidget* lst_Grp = nullptr;

    void on_load() override;
    void on_activate() override;

protected:
    void on_function_key(int n) override;

private:
    void KGRL_Exec();
    std::unique_ptr<ListBoxControl> list_control_;
};

}  // namespace px::search
