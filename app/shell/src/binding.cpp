#include "shell/binding.h"

#include <dlfcn.h>

#include <map>

#include "platform/process.h"

namespace px {

namespace {

// Libraries by name, loaded once for the run; a failed load is retried at
// the next call, as a declared entry's next call would.
std::map<std::string, void*>& libraries() {
    static std::map<std::string, void*> loaded;
    return loaded;
}

// Addresses bound before the last reset_bindings are stale.
unsigned g_generation = 1;

std::string& folder_override() {
    static std::string folder;
    return folder;
}

void* load_library(const std::string& name) {
    std::string path = library_folder() + "/lib" + name + ".so";
    auto it = libraries().find(path);
    if (it != libraries().end()) return it->second;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) libraries()[path] = handle;
    return handle;
}

}  // namespace

std::string undecorated_name(const std::string& decorated) {
    size_t at = decorated.rfind('@');
    if (decorated.size() < 2 || decorated[0] != '_' || at == std::string::npos || at < 2) return decorated;
    return decorated.substr(1, at - 1);
}

void* EntryPoint::address() {
    if (address_ != nullptr && generation_ == g_generation) return address_;
    void* lib = load_library(library_);
    if (lib == nullptr) throw RuntimeError(kErrFileNotFound, decorated_);
    void* sym = dlsym(lib, undecorated_name(decorated_).c_str());
    if (sym == nullptr) throw RuntimeError(kErrNoEntryPoint, decorated_);
    set_address(sym);
    return address_;
}

void EntryPoint::set_address(void* address) {
    address_ = address;
    generation_ = g_generation;
}

std::string library_folder() {
    if (!folder_override().empty()) return folder_override();
    // The platform library lies beside the program and its libraries.
    return plat::library_folder();
}

void set_library_folder(const std::string& folder) { folder_override() = folder; }

void reset_bindings() { ++g_generation; }

}  // namespace px
