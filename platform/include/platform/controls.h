// Controls on integer handles. The libraries fill list boxes and set window
// texts through a handle that the program passes; the program registers its
// widgets under handles, tests and headless runs use the in-memory model.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/export.h"

namespace plat {

// The list-box error result (LB_ERR).
constexpr int32_t kLbErr = -1;

class PX_EXPORT Control {
public:
    virtual ~Control();
    // List-box services; a control that is no list box answers kLbErr.
    virtual int32_t lb_reset() { return kLbErr; }
    virtual int32_t lb_count() const { return kLbErr; }
    virtual int32_t lb_add(const std::string& text) { return kLbErr; }
    virtual int32_t lb_insert(int32_t index, const std::string& text) { return kLbErr; }
    virtual int32_t lb_delete(int32_t index) { return kLbErr; }
    virtual int32_t lb_text(int32_t index, std::string* text) const { return kLbErr; }
    virtual int32_t lb_set_sel(int32_t index, bool on) { return kLbErr; }
    virtual int32_t lb_get_sel(int32_t index) const { return kLbErr; }
    virtual int32_t lb_set_cur(int32_t index) { return kLbErr; }
    virtual int32_t lb_get_cur() const { return kLbErr; }
    // The first visible line: set answers 0, or kLbErr for a line outside the
    // list (line 0 of an empty list is accepted, as in Windows).
    virtual int32_t lb_set_top(int32_t index) { return kLbErr; }
    virtual int32_t lb_get_top() const { return kLbErr; }
    // Window text and focus.
    virtual std::string text() const { return {}; }
    virtual void set_text(const std::string& text) {}
    virtual void set_focus() {}
};

// In-memory list box (and window text), for tests and headless runs.
class PX_EXPORT MemoryListBox : public Control {
public:
    int32_t lb_reset() override;
    int32_t lb_count() const override;
    int32_t lb_add(const std::string& text) override;
    int32_t lb_insert(int32_t index, const std::string& text) override;
    int32_t lb_delete(int32_t index) override;
    int32_t lb_text(int32_t index, std::string* text) const override;
    int32_t lb_set_sel(int32_t index, bool on) override;
    int32_t lb_get_sel(int32_t index) const override;
    int32_t lb_set_cur(int32_t index) override;
    int32_t lb_get_cur() const override;
    int32_t lb_set_top(int32_t index) override;
    int32_t lb_get_top() const override;
    std::string text() const override { return text_; }
    void set_text(const std::string& text) override { text_ = text; }
    void set_focus() override { focused_ = true; }

    const std::vector<std::string>& lines() const { return lines_; }
    bool focused() const { return focused_; }
    // Every service call, in order, by name ("reset", "count", "setsel" ...).
    const std::vector<std::string>& calls() const { return calls_; }
    // Starts the record again (a long-running user, as a fuzz target, would
    // otherwise keep every call it ever made).
    void forget_calls() { calls_.clear(); }

private:
    std::vector<std::string> lines_;
    std::vector<bool> selected_;
    int32_t current_ = -1;
    int32_t top_ = 0;
    std::string text_;
    bool focused_ = false;
    mutable std::vector<std::string> calls_;
};

// Registers a control and returns its handle (never 0). The registry does
// not own the control.
PX_EXPORT int32_t register_control(Control* control);
PX_EXPORT void unregister_control(int32_t handle);
// The control of a handle, or nullptr.
PX_EXPORT Control* control(int32_t handle);

}  // namespace plat
