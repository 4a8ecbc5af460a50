// The help window: the help text of the screen that asked for it, read by
// the common library into the list. F3 closes it, F6 prints it.
#pragma once

#include <memory>

#include "shell/form.h"
#include "shell/listbox.h"

class QListWidget;

namespace px {

class Help : public Form {
public:
    static constexpr const char* kName = "Help";
    Help();

    QListWidget* lst_Help = nullptr;

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

private:
    std::unique_ptr<ListBoxControl> list_control_;
};

}  // namespace px
