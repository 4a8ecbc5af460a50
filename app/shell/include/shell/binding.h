// Library entries bound at their first call.
//
// Each entry is declared by the library's name and the entry's decorated
// name ("PXALL", "_VBGetScr@8"). The first call loads lib<name>.so from the
// program's own folder and resolves the undecorated symbol ("VBGetScr"); the
// address is kept for every later call. A library that does not load raises
// run-time error 53, a missing entry 453, both to the calling screen.
#pragma once

#include <string>

#include "shell/errors.h"

namespace px {

class EntryPoint {
public:
    constexpr EntryPoint(const char* library, const char* decorated) : library_(library), decorated_(decorated) {}

    // The entry's address; binds it at the first call. Throws RuntimeError.
    void* address();
    const char* library() const { return library_; }
    const char* decorated() const { return decorated_; }
    // Puts an address in place of the library's (tests); nullptr forgets it.
    void set_address(void* address);

private:
    const char* library_;
    const char* decorated_;
    void* address_ = nullptr;
    unsigned generation_ = 0;  // of the bindings the address belongs to
};

// The symbol a decorated name is exported under: "_VBGetMsg@8" -> "VBGetMsg".
// A name without the "@n" decoration is taken as it stands.
std::string undecorated_name(const std::string& decorated);

// The folder the libraries are loaded from: the program's own folder unless
// set otherwise (tests).
std::string library_folder();
void set_library_folder(const std::string& folder);
// Forgets every bound address, so that the next call of each entry binds
// afresh (tests). Loaded libraries stay loaded.
void reset_bindings();

template <typename Signature>
class Declared;

// A declared entry, called like the function it binds to.
template <typename R, typename... Args>
class Declared<R(Args...)> {
public:
    constexpr Declared(const char* library, const char* decorated) : entry_(library, decorated) {}
    R operator()(Args... args) { return reinterpret_cast<R (*)(Args...)>(entry_.address())(args...); }
    EntryPoint& entry() { return entry_; }

private:
    EntryPoint entry_;
};

}  // namespace px
