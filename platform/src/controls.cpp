#include "platform/controls.h"

#include <map>

namespace plat {

Control::~Control() = default;

// The model answers as a Windows list box without sorting does. Each call is
// recorded under the service's name without "lb_" and underscores.

int32_t MemoryListBox::lb_reset() {
    calls_.emplace_back("reset");
    lines_.clear();
    selected_.clear();
    current_ = -1;
    top_ = 0;
    return 0;
}

int32_t MemoryListBox::lb_count() const {
    calls_.emplace_back("count");
    return static_cast<int32_t>(lines_.size());
}

int32_t MemoryListBox::lb_add(const std::string& text) {
    calls_.emplace_back("add");
    lines_.push_back(text);
    selected_.push_back(false);
    return static_cast<int32_t>(lines_.size()) - 1;
}

int32_t MemoryListBox::lb_insert(int32_t index, const std::string& text) {
    calls_.emplace_back("insert");
    const auto count = static_cast<int32_t>(lines_.size());
    if (index == -1) index = count;
    if (index < 0 || index > count) return kLbErr;
    lines_.insert(lines_.begin() + index, text);
    selected_.insert(selected_.begin() + index, false);
    if (current_ >= index) ++current_;
    return index;
}

int32_t MemoryListBox::lb_delete(int32_t index) {
    calls_.emplace_back("delete");
    if (index < 0 || index >= static_cast<int32_t>(lines_.size())) return kLbErr;
    lines_.erase(lines_.begin() + index);
    selected_.erase(selected_.begin() + index);
    if (current_ == index) {
        current_ = -1;
    } else if (current_ > index) {
        --current_;
    }
    // The top index stays where it was (an insert does not move it either)
    // but never points past the last line.
    const auto left = static_cast<int32_t>(lines_.size());
    if (top_ >= left) top_ = left > 0 ? left - 1 : 0;
    return left;
}

int32_t MemoryListBox::lb_text(int32_t index, std::string* text) const {
    calls_.emplace_back("text");
    if (index < 0 || index >= static_cast<int32_t>(lines_.size())) return kLbErr;
    if (text != nullptr) *text = lines_[index];
    return static_cast<int32_t>(lines_[index].size());
}

// Index -1 selects or clears every line.
int32_t MemoryListBox::lb_set_sel(int32_t index, bool on) {
    calls_.emplace_back("setsel");
    if (index == -1) {
        selected_.assign(selected_.size(), on);
        return 0;
    }
    if (index < 0 || index >= static_cast<int32_t>(lines_.size())) return kLbErr;
    selected_[index] = on;
    return 0;
}

int32_t MemoryListBox::lb_get_sel(int32_t index) const {
    calls_.emplace_back("getsel");
    if (index < 0 || index >= static_cast<int32_t>(lines_.size())) return kLbErr;
    return selected_[index] ? 1 : 0;
}

// Index -1 clears the current line and, as in Windows, still answers kLbErr.
int32_t MemoryListBox::lb_set_cur(int32_t index) {
    calls_.emplace_back("setcur");
    if (index == -1) {
        current_ = -1;
        return kLbErr;
    }
    if (index < 0 || index >= static_cast<int32_t>(lines_.size())) return kLbErr;
    current_ = index;
    return index;
}

int32_t MemoryListBox::lb_get_cur() const {
    calls_.emplace_back("getcur");
    return current_ < 0 ? kLbErr : current_;
}

int32_t MemoryListBox::lb_set_top(int32_t index) {
    calls_.emplace_back("settop");
    const auto count = static_cast<int32_t>(lines_.size());
    if (index < 0 || (index >= count && index != 0)) return kLbErr;
    top_ = index;
    return 0;
}

int32_t MemoryListBox::lb_get_top() const {
    calls_.emplace_back("gettop");
    return top_;
}

namespace {

struct Registry {
    std::map<int32_t, Control*> controls;
    int32_t next = 1;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

// Handles count up and are not reused, so a stale handle finds nothing.
int32_t register_control(Control* control) {
    if (control == nullptr) return 0;
    Registry& r = registry();
    int32_t handle = r.next++;
    r.controls[handle] = control;
    return handle;
}

void unregister_control(int32_t handle) { registry().controls.erase(handle); }

Control* control(int32_t handle) {
    auto& controls = registry().controls;
    auto it = controls.find(handle);
    return it == controls.end() ? nullptr : it->second;
}

}  // namespace plat
