// The engine on a fresh demo installation: what the engine tests share.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/drom.h"
#include "pxall/vehicle_work_layout.h"
#include "pxbuild/demo_bunz.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_install.h"
#include "pxvjin/pxvjin.h"
#include "vcat/vcat.h"

namespace pxvjintest {

namespace fs = std::filesystem;
namespace cc = pxall::ccar;

class EngineDemo : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "pxvjin-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root = tmpl;
        pxbuild::write_demo(root + "/demo");
        std::string error;
        ASSERT_TRUE(plat::load_drive_table(root + "/demo/c/PXDROM/PXDRIVES.SYS", &error)) << error;
        // The tests' own files beside the demo, on a drive of their own: a
        // host path is taken only inside a drive's folder.
        plat::set_drive('T', root);
        if (const char* t = std::getenv("TMP")) saved_tmp = t;
        unsetenv("TMP");
        saved_cwd = fs::current_path();
        fs::current_path(root + "/demo/c/PXDROM");
        ASSERT_EQ(drom_init(), 0);
        ASSERT_EQ(vjin_clear(), 0);
        ASSERT_EQ(vjin_init(), 0);
    }
    void TearDown() override {
        if (saved_cwd.empty()) {
            if (!root.empty()) fs::remove_all(root);
            return;
        }
        vjin_back();
        vjin_clear();
        vjin_init();
        vjin_clear();  // on the open screen: the kept vehicle goes too
        drom_term();
        fs::current_path(saved_cwd);
        if (!saved_tmp.empty()) setenv("TMP", saved_tmp.c_str(), 1);
        fs::remove_all(root);
    }
    static int32_t check(int32_t (*f)(int16_t, VbString*), std::string text, size_t width) {
        text.resize(std::max(text.size(), width), ' ');
        VbString s{text.data(), static_cast<int32_t>(width)};
        size_t n = text.find_last_not_of(' ');
        return f(static_cast<int16_t>(n == std::string::npos ? 0 : n + 1), &s);
    }
    static int32_t frame(std::string model, std::string no) {
        model.resize(7, ' ');
        no.resize(7, ' ');
        VbString m{model.data(), 7}, n{no.data(), 7};
        auto len = [](const std::string& s) {
            size_t k = s.find_last_not_of(' ');
            return static_cast<int16_t>(k == std::string::npos ? 0 : k + 1);
        };
        return vjin_check_input_frameno(len(model), &m, len(no), &n);
    }
    static std::string shown(int32_t (*f)(VbString*), size_t width) {
        std::string s(width, '?');
        VbString v{s.data(), static_cast<int32_t>(width)};
        f(&v);
        return s;
    }
    static std::string car(size_t at, size_t n) {
        std::string s(reinterpret_cast<const char*>(pxall::get_ccar_addr() + at), n);
        for (char& c : s)
            if (c == '\0') c = ' ';
        return s;
    }
    std::string work(const char* name) const { return root + "/demo/c/PXDROM/WORK/" + name; }
    std::string log() const {
        std::ifstream in(root + "/demo/c/PXDROM/PXERROR.LOG");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static std::string pad(const std::string& t, size_t n) { return t + std::string(n - t.size(), ' '); }
    static std::string bits_of(const std::string& frame_model) {
        return pxbuild::demo::vehicle_applicability(pxbuild::demo::catalogs().front(), frame_model);
    }

    std::string root, saved_tmp;
    fs::path saved_cwd;
};

// A vehicle of the first demo catalogue: the 1.6 petrol AVS16P1 in grade STD
// with the 5-speed box for Europe, whose frame numbers run A200001-A299999
// in its first production third.
constexpr const char* kVin = "PX1AVS1600A200123";

}  // namespace pxvjintest
