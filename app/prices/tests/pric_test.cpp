// The price list over price-list files written by the test, shown modally
// over a screen as the parts list shows it.
#include <QLabel>
#include <QListWidget>

#include "prices/pric.h"
#include "shell/price_export_handover.h"
#include "shell/stack.h"
#include "support/prices_test.h"

namespace pxtest {
namespace {

using px::Pric;

std::string record(const std::string& no, char mark) {
    return no + "4711A " + "02" + "12345-67890-AB" + std::string("BRAKE PAD KIT              ") + "   1234.50" +
           "REMARK    " + std::string(1, mark);
}

class PricTest : public PricesTest {
protected:
    // Shows the list as the parts list does; `during` runs while it is up.
    void show(const std::string& bytes, int16_t kind, std::function<void(Pric&)> during = {}) {
        inst->write("WORK/PRICE.TMP", bytes);
        auto& h = px::price_export_handover();
        h.PriceFilePath = "C:\\WORK\\PRICE.TMP";
        h.PriceKind = kind;
        h.PriceListFailed = 0;
        lines.clear();
        on_modal("Pric", [&, during](px::Form& f) {
            auto& p = static_cast<Pric&>(f);
            for (int i = 0; i < p.lst_Price->count(); ++i) lines.push_back(p.lst_Price->item(i)->text().toStdString());
            mode = p.lbl_Mode->text().toStdString();
            if (during) during(p);
            if (p.loaded()) key(p, Qt::Key_F3);
        });
        px::ShowModalOwned(px::load_form("Pric"), menu);
        settle();
    }
    std::vector<std::string> lines;
    std::string mode;
};

TEST_F(PricTest, RecordsBecomeLinesWithTheirMark) {
    show(record("01", 'S') + record("02", 's') + record("03", '*') + record("04", ' '), 0);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "*01  4711A   02   12345-67890-AB  BRAKE PAD KIT                   1234.50  REMARK    ");
    EXPECT_EQ(lines[0].size(), 85u);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(lines[i][0], ' ') << i;
    EXPECT_FALSE(inst->exists("WORK/PRICE.TMP"));  // deleted when it closed
    EXPECT_EQ(px::price_export_handover().PriceListFailed, 0);
}

TEST_F(PricTest, CountIsTheWholeRecords) {
    struct Case {
        std::string bytes;
        size_t lines;
    };
    for (const Case& c : {Case{"", 0}, Case{record("01", 'S'), 1}, Case{record("01", 'S') + record("02", ' '), 2},
                          Case{record("01", 'S') + record("02", ' ') + "X", 2}, Case{std::string(71, ' '), 0}}) {
        SCOPED_TRACE(c.bytes.size());
        show(c.bytes, 1);
        EXPECT_EQ(lines.size(), c.lines);
        EXPECT_EQ(px::price_export_handover().PriceListFailed, 0);
    }
}

TEST_F(PricTest, ModeNamesThePriceKind) {
    std::vector<std::string> modes;
    for (int16_t kind : {0, 1, 2, 3}) {
        show(record("01", ' '), kind);
        modes.push_back(mode);
    }
    EXPECT_FALSE(modes[0].empty());
    EXPECT_NE(modes[0], modes[1]);
    EXPECT_NE(modes[1], modes[2]);
    EXPECT_TRUE(modes[3].empty());
}

TEST_F(PricTest, AMissingFileFailsTheListAndIsLogged) {
    auto& h = px::price_export_handover();
    h.PriceFilePath = "C:\\WORK\\GONE.TMP";
    h.PriceListFailed = 0;
    beeps = 0;
    px::ShowModalOwned(px::load_form("Pric"), menu);
    settle();
    EXPECT_EQ(h.PriceListFailed, 1);
    EXPECT_EQ(px::loaded_form("Pric"), nullptr);
    EXPECT_EQ(beeps, 1 + 3);  // the error dialog beeps three times
    EXPECT_NE(std::find(modals.begin(), modals.end(), "Errm"), modals.end());
    EXPECT_NE(errm_text.find("PXPRIC,Form_Load,,(53)(0)(0)"), std::string::npos) << errm_text;
    EXPECT_TRUE((errm_text.find("PXPRIC") != std::string::npos && errm_text.find("Form_Load") != std::string::npos)) << errm_text;
}

TEST_F(PricTest, OtherKeysDoNothing) {
    show(record("01", ' '), 0, [&](Pric& p) {
        key(p, Qt::Key_F2);
        key(p, Qt::Key_Escape);
        EXPECT_TRUE(p.loaded());
        EXPECT_TRUE(inst->exists("WORK/PRICE.TMP"));
    });
    EXPECT_FALSE(inst->exists("WORK/PRICE.TMP"));
}

}  // namespace
}  // namespace pxtest
