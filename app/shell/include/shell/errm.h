// The system-error dialog: lists the error log, beeps three times and
// flashes its caption, prints the failing screen on F6 and deletes the log
// when it closes. Opened only through ShowErrorDialog.
#pragma once

#include <cstdint>

#include "shell/form.h"

class QListWidget;
class QTimer;

namespace px {

class Errm : public Form {
public:
    static constexpr const char* kName = "Errm";
    Errm();

    QListWidget* lst_ErrMsg = nullptr;
    QTimer* tmr_Flash = nullptr;
    int32_t flash_state() const { return flash_state_; }

    void on_load() override;
    bool on_key_down(int key_code) override;
    void on_unload() override;
    void on_close_request() override;
    // One tick of tmr_Flash.
    void flash();

private:
    int32_t flash_state_ = 0;
};

}  // namespace px
