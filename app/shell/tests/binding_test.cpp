// Library entries bound at their first call.
#include "shell/binding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "pxall/vbstring.h"
#include "shell/pxall_entries.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;

TEST(BindingTest, DecoratedNamesLoseUnderscoreAndArgumentBytes) {
    struct Case {
        const char* decorated;
        const char* symbol;
    } cases[] = {
        {"_VBGetMsg@8", "VBGetMsg"},
        {"_drom_init@0", "drom_init"},
        {"_VBryak_get_mean@12", "VBryak_get_mean"},
        {"_ZN5pxall14error_log_pathEPc", "_ZN5pxall14error_log_pathEPc"},  // no decoration: as it stands
        {"plain", "plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(px::undecorated_name(c.decorated), c.symbol) << c.decorated;
}

class BindingFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "pxbind-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        empty_ = tmpl;
    }
    void TearDown() override {
        px::set_library_folder("");
        px::reset_bindings();
        fs::remove_all(empty_);
    }
    std::string empty_;
};

TEST_F(BindingFolderTest, MissingLibraryRaisesError53NamingTheEntry) {
    px::reset_bindings();
    px::set_library_folder(empty_);
    px::Declared<void(int32_t, VbString*)> get_scr{"PXALL", "_VBGetScr@8"};
    try {
        char buf[8];
        VbString s{buf, 8};
        get_scr(1000, &s);
        FAIL() << "no error raised";
    } catch (const px::RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_EQ(e.step(), "_VBGetScr@8");
    }
}

TEST_F(BindingFolderTest, MissingEntryRaisesError453) {
    px::Declared<int32_t()> missing{"PXALL", "_VBNoSuchEntry@0"};
    try {
        missing();
        FAIL() << "no error raised";
    } catch (const px::RuntimeError& e) {
        EXPECT_EQ(e.number(), 453);
        EXPECT_EQ(e.step(), "_VBNoSuchEntry@0");
    }
}

TEST_F(BindingFolderTest, AddressIsKeptAfterTheFirstCall) {
    px::Declared<int32_t(int32_t, VbString*)> get_msg{"PXALL", "_VBGetMsg@8"};
    void* first = get_msg.entry().address();
    ASSERT_NE(first, nullptr);
    // The library folder no longer matters once the entry is bound...
    px::set_library_folder(empty_);
    EXPECT_EQ(get_msg.entry().address(), first);
    // ... until the bindings are forgotten.
    px::reset_bindings();
    EXPECT_THROW(get_msg.entry().address(), px::RuntimeError);
}

}  // namespace
}  // namespace pxtest
