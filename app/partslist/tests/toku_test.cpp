// The feature pop-up over the parts list, opened by F12 of the condition
// keys, against the scripted engine.
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "partslist/pnho_module.h"
#include "partslist/toku.h"
#include "support/pnho_fixture.h"

namespace pxtest {
namespace {

using px::Toku;

std::string kind(const std::string& no, const std::string& name) {
    std::string r = no + name;
    r.resize(22, ' ');
    return r;
}

std::string code(int seq, const std::string& kind, const std::string& c, const std::string& text, char mark = ' ') {
    char s[4];
    std::snprintf(s, sizeof s, "%02d", seq);
    std::string r = std::string(s) + kind;
    std::string cc = c;
    cc.resize(10, ' ');
    std::string t = text;
    t.resize(70, ' ');
    return r + cc + t + mark;
}

class TokuTest : public PnhoTest {
protected:
    void SetUp() override {
        PnhoTest::SetUp();
        engine().kinds = kind("01", "ENGINE") + kind("04", "DESTINATION") + kind("07", "EMPTY KIND");
        engine().codes = code(1, "01", "1.4P", "1.4 LITRE PETROL") + code(2, "01", "1.6P", "1.6 LITRE PETROL,", 'S') +
                         code(3, "01", "1.6P", "VARIABLE VALVE TIMING") + code(4, "01", "1.6P", "AND MORE") +
                         code(5, "04", "EUR", "EUROPE") + code(6, "04", "UK", "UNITED KINGDOM");
    }
    // Opens the pop-up from the condition keys and runs `inside` on it.
    void pop_up(std::function<void(Toku&)> inside) {
        auto& p = open(numbered_records(1));
        press(p, 5);
        press(p, 10);
        on_modal("Toku", [&](px::Form& f) {
            auto& t = static_cast<Toku&>(f);
            inside(t);
            if (t.loaded()) px::unload_form(t);
        });
        press(p, 12);
    }
    static void click(QListWidget* list, int row) {
        list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
        QListWidgetItem* item = list->item(row);
        if (list->selectionMode() == QAbstractItemView::MultiSelection) item->setSelected(!item->isSelected());
        emit list->itemClicked(item);
    }
};

TEST_F(TokuTest, KindsShowTheirPresetCodeAndCodesTheirDescriptions) {
    pop_up([&](Toku& t) {
        ASSERT_EQ(t.lst_Tokume->count(), 3);
        EXPECT_EQ(t.lst_Tokume->item(0)->text(), "ENGINE              1.6P      ");
        EXPECT_EQ(t.lst_Tokume->item(1)->text(), "DESTINATION         ");
        EXPECT_EQ(t.lbl_Tokume->text(), "Feature");
        EXPECT_EQ(t.lbl_Msg->text(), message(158));
        click(t.lst_Tokume, 0);
        EXPECT_EQ(t.lbl_Kigouu->text(), "ENGINE");
        ASSERT_EQ(t.lst_Kigouu->count(), 4);
        EXPECT_TRUE(t.lst_Kigouu->item(2)->text().startsWith("          VARIABLE"));
        EXPECT_TRUE(t.lst_Kigouu->item(1)->isSelected());
        // Any line of a code's description chooses it; one code a kind.
        click(t.lst_Kigouu, 0);
        EXPECT_FALSE(t.lst_Kigouu->item(1)->isSelected());
        EXPECT_EQ(t.FeatureCodes[0][84], 'S');
        EXPECT_EQ(t.FeatureCodes[1][84], ' ');
        EXPECT_EQ(t.lst_Tokume->item(0)->text(), "ENGINE              1.4P      ");
        click(t.lst_Kigouu, 3);
        EXPECT_EQ(t.FeatureCodes[3][84], 'S');
        EXPECT_EQ(t.FeatureCodes[0][84], ' ');
        // Clicking the marked line again leaves the kind without a code.
        click(t.lst_Kigouu, 3);
        EXPECT_EQ(t.FeatureCodes[3][84], ' ');
        EXPECT_EQ(t.lst_Tokume->item(0)->text(), "ENGINE              ");
        // A kind without codes shows an empty list under its name.
        click(t.lst_Tokume, 2);
        EXPECT_EQ(t.lst_Kigouu->count(), 0);
        EXPECT_EQ(t.lbl_Kigouu->text(), "EMPTY KIND");
        click(t.lst_Tokume, 1);
        click(t.lst_Kigouu, 1);
        key(t, Qt::Key_F12);
    });
    EXPECT_EQ(engine().tokucyo, (std::vector<std::string>{"4:UK        "}));
    EXPECT_EQ(engine().count("pnho_check_tokucyo"), 1);
    EXPECT_EQ(px::loaded_form("Toku"), nullptr);
    EXPECT_FALSE(work_exists("PXPNHO4.TMP"));
    EXPECT_FALSE(work_exists("PXPNHO5.TMP"));
    auto* p = static_cast<px::Pnho*>(px::loaded_form("Pnho"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->PnhoMode, 121);
    EXPECT_EQ(p->lbl_Msg->text(), message(105));
}

TEST_F(TokuTest, AKindAndItsCodeAreChosenWithTheKeys) {
    pop_up([&](Toku& t) {
        t.lst_Tokume->setFocus();
        t.lst_Tokume->setCurrentRow(0);
        QTest::keyClick(t.lst_Tokume, Qt::Key_Down);
        EXPECT_EQ(t.lbl_Kigouu->text(), "DESTINATION");
        ASSERT_EQ(t.lst_Kigouu->count(), 2);
        QTest::keyClick(t.lst_Tokume, Qt::Key_Tab);
        ASSERT_EQ(t.focusWidget(), t.lst_Kigouu);
        t.lst_Kigouu->setCurrentRow(1, QItemSelectionModel::NoUpdate);
        QTest::keyClick(t.lst_Kigouu, Qt::Key_Space);
        EXPECT_TRUE(t.lst_Kigouu->item(1)->isSelected());
        EXPECT_EQ(t.lst_Tokume->item(1)->text(), "DESTINATION         UK        ");
        key(t, Qt::Key_F12);
    });
    EXPECT_EQ(engine().tokucyo, (std::vector<std::string>{"1:1.6P      ", "4:UK        "}));
}

TEST_F(TokuTest, ARefusedChoiceKeepsThePopUpOpen) {
    engine().rc["pnho_check_tokucyo"] = 860;
    pop_up([&](Toku& t) {
        int before = beeps;
        key(t, Qt::Key_F12);
        EXPECT_TRUE(t.loaded());
        EXPECT_EQ(t.lbl_Msg->text(), message(860));
        EXPECT_EQ(beeps, before + 1);
        EXPECT_EQ(engine().tokucyo, (std::vector<std::string>{"1:1.6P      "}));
        // F11 clears every choice: F12 then hands nothing over.
        key(t, Qt::Key_F11);
        engine().rc["pnho_check_tokucyo"] = 0;
        engine().calls.clear();
        key(t, Qt::Key_F12);
        EXPECT_EQ(engine().calls, (std::vector<std::string>{"pnho_clr_tokucyo", "pnho_check_tokucyo"}));
    });
}

TEST_F(TokuTest, F3LeavesWithoutHandingOverAndOtherKeysDoNothing) {
    pop_up([&](Toku& t) {
        key(t, Qt::Key_F2);
        key(t, Qt::Key_F10);
        EXPECT_TRUE(t.loaded());
        click(t.lst_Tokume, 0);
        click(t.lst_Kigouu, 0);
        key(t, Qt::Key_F3);
    });
    EXPECT_EQ(engine().count("pnho_set_tokucyo"), 0);
    EXPECT_EQ(engine().count("pnho_close_pop"), 1);
    EXPECT_EQ(px::loaded_form("Toku"), nullptr);
}

TEST_F(TokuTest, TwoPresetCodesOfOneKindShowOneCodeOnItsLine) {
    engine().codes = code(1, "01", "1.4P", "1.4 LITRE PETROL", 'S') + code(2, "01", "1.6P", "1.6 LITRE PETROL", 'S');
    pop_up([&](Toku& t) {
        EXPECT_EQ(t.PresetFeatures.size(), 2u);
        EXPECT_EQ(t.lst_Tokume->item(0)->text(), "ENGINE              1.6P      ");
        key(t, Qt::Key_F3);
    });
}

TEST_F(TokuTest, FeatureResultFourLeavesQuietly) {
    engine().rc["pnho_exec_pop"] = 4;
    auto& p = open(numbered_records(1));
    press(p, 5);
    press(p, 10);
    press(p, 12);
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    EXPECT_TRUE(modals.empty());
}

}  // namespace
}  // namespace pxtest
