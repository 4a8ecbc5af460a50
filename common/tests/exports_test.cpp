// Every shared library of the system exports its own entries only: no
// instantiation of the C++ library's templates or inline functions (names
// in std and __gnu_cxx) may reach a dynamic symbol table, where another
// library or the program could bind to this copy of it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "pxall/blocks.h"

namespace {

namespace fs = std::filesystem;

// The folder all libraries land in: the one libPXALL.so was loaded from.
std::string library_folder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&pxall::get_ctop_addr), &info) == 0 || info.dli_fname == nullptr) return {};
    return fs::path(info.dli_fname).parent_path().string();
}

// The defined dynamic symbols of a library, or nothing when nm is missing.
std::vector<std::string> exports(const std::string& lib, bool* ran) {
    std::vector<std::string> names;
    std::string cmd = "nm -D --defined-only '" + lib + "' 2>/dev/null";
    std::FILE* p = ::popen(cmd.c_str(), "r");
    *ran = p != nullptr;
    if (p == nullptr) return names;
    char line[4096];
    while (std::fgets(line, sizeof line, p) != nullptr) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        size_t sp = s.rfind(' ');
        if (sp != std::string::npos) names.push_back(s.substr(sp + 1));
    }
    *ran = ::pclose(p) == 0;
    return names;
}

TEST(ExportsTest, NoLibraryExportsTheStandardLibrarysInstantiations) {
    const std::string dir = library_folder();
    ASSERT_FALSE(dir.empty());
    // Functions, local statics, guard variables of std:: and __gnu_cxx::.
    const std::regex foreign("^_Z(Z|GVZ)?N?K?(St|9__gnu_cxx)|^_ZZ?St");
    int libraries = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("lib", 0) != 0 || e.path().extension() != ".so") continue;
        bool ran = false;
        auto names = exports(e.path().string(), &ran);
        if (!ran) GTEST_SKIP() << "nm is not available";
        ++libraries;
        EXPECT_FALSE(names.empty()) << name;
        for (const auto& sym : names) EXPECT_FALSE(std::regex_search(sym, foreign)) << name << " exports " << sym;
    }
    EXPECT_GE(libraries, 2);  // libPXALL.so and libpxplatform.so at least
}

}  // namespace
