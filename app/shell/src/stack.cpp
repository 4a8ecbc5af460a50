#include "shell/stack.h"

#include <array>
#include <optional>
#include <vector>

#include <QPointer>

#include "shell/form.h"

namespace px {

namespace {

// The collection (names of the forms it refers to, bottom first) exists from
// its first use until ScrTerm; the name slots live for the whole run.
std::optional<std::vector<std::string>> g_screens;
std::array<std::string, kScrMax + 1> g_names;
QPointer<Form> g_modal_owner;

std::vector<std::string>& screens() {
    if (!g_screens) g_screens.emplace();
    return *g_screens;
}

std::string slot_name(const std::string& name) {
    std::string s = name.substr(0, 4);
    s.resize(4, ' ');
    return s;
}

void show_top() {
    auto& s = screens();
    if (s.empty()) return;
    show_modeless(load_form(s.back()));
}

}  // namespace

void ScrInit() {
    screens().push_back(kMenuName);
    g_names[1] = slot_name(kMenuName);
}

void ScrTerm() { g_screens.reset(); }

void ScrPush(Form& form) {
    auto& s = screens();
    if (form.load_failed()) {
        // Reported as it loaded; the clerk goes back to the menu instead.
        unload_form(form);
        ScrBackToMenu();
        return;
    }
    if (static_cast<int>(s.size()) >= kScrMax) throw RuntimeError(kErrSubscriptOutOfRange, "ScrPush");
    s.push_back(form.name());
    g_names[s.size()] = slot_name(form.name());
    show_modeless(form);
}

void ScrBack() {
    auto& s = screens();
    if (s.size() > 1) s.pop_back();
    show_top();
}

void ScrBackToMenu() {
    auto& s = screens();
    if (s.size() > 1) s.resize(1);
    show_top();
}

void ScrBackTo(const std::string& name) {
    auto& s = screens();
    // Unknown names walk down to the menu, which then shows: never no window.
    while (s.size() > 1 && g_names[s.size()] != name) s.pop_back();
    show_top();
}

void ScrShowLost() {
    // Without the menu the program is ending (or not started): nothing to show.
    if (!g_screens || g_screens->empty() || loaded_form(kMenuName) == nullptr) return;
    Form* top = loaded_form(g_screens->back());
    if (top != nullptr && !top->load_failed()) {
        show_modeless(*top);
        return;
    }
    // Its screen was closed without leaving the stack, or cannot show.
    if (top != nullptr) unload_form(*top);
    ScrBackToMenu();
}

void ShowModalOwned(Form& form, Form* owner) {
    g_modal_owner = owner;
    show_modal(form);
    g_modal_owner = nullptr;
}

Form* GetModalOwner() { return g_modal_owner; }

int ScrCount() { return g_screens ? static_cast<int>(g_screens->size()) : 0; }

std::string ScrName(int k) { return k >= 1 && k <= kScrMax ? g_names[k] : std::string(); }

}  // namespace px
