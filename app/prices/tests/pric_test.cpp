// The price list over price-list files written by the test, shown modally
// over a screen as the parts list shows it.
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QListWidget>

#include "prices/pric.h"
#include "shell/codepage.h"
#include "shell/price_export_handover.h"
#include "shell/stack.h"
#include "support/prices_test.h"

namespace pxtest {
namespace {

using px::Pric;

std::string record(const std::string& no, char mark, const std::string& name = "BRAKE PAD KIT              ") {
    return no + "4711A " + "02" + "12345-67890-AB" + name + "   1234.50" + "REMARK    " + std::string(1, mark);
}

// The runs of dark pixels across a band of a picture, runs closer than `gap`
// taken as one: where the texts of a line stand.
std::vector<std::pair<int, int>> ink_runs(const QImage& image, const QRect& band, int gap) {
    std::vector<std::pair<int, int>> runs;
    for (int x = band.left(); x <= band.right(); ++x) {
        bool ink = false;
        for (int y = band.top(); y <= band.bottom() && !ink; ++y) ink = qGray(image.pixel(x, y)) < 128;
        if (!ink) continue;
        if (!runs.empty() && x - runs.back().second <= gap) runs.back().second = x;
        else runs.push_back({x, x});
    }
    return runs;
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

// Each value of a line stands inside its heading's box, in the Latin face
// and in the Japanese face of code page 932 (a name of double-byte
// characters among them).
TEST_F(PricTest, ValuesStandInsideTheirHeadingBoxesInBothCodePages) {
    struct Case {
        int code_page;
        std::string name;
    } cases[] = {
        {1252, "BRAKE-PAD-KIT              "},
        // "脱着式トウバーソケット付き" and a blank: 27 bytes. (Full-width
        // brackets are left out: their glyphs hold blank room that reads
        // as a gap between columns.)
        {932, "\x92\x45\x92\x85\x8E\xAE\x83\x67\x83\x45\x83\x6F\x81\x5B\x83\x5C\x83\x50\x83\x62\x83\x67\x95\x74"
              "\x82\xAB "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code_page);
        if (c.code_page == 932 && QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) continue;
        px::set_ansi_code_page(c.code_page);
        show(record("01", ' ') + record("02", 'S', c.name), 0, [&](Pric& p) {
            p.lst_Price->clearSelection();
            p.lst_Price->setCurrentRow(-1);
            const QImage image = p.grab().toImage();
            QRect item = p.lst_Price->visualItemRect(p.lst_Price->item(1));
            item.moveTopLeft(p.lst_Price->viewport()->mapTo(&p, item.topLeft()));
            const int cell = QFontMetrics(p.lst_Price->font()).horizontalAdvance(QStringLiteral("0"));
            // The gaps between the columns are two cells or more; within a
            // value one blank at most.
            const auto runs = ink_runs(image, item, cell + cell / 2);
            QLabel* boxes[7] = {p.lbl_No, p.lbl_Pnc, p.lbl_Qty, p.lbl_Pn, p.lbl_Pname, p.lbl_Lp, p.lbl_Remark};
            std::string seen;
            for (const auto& r : runs) seen += std::to_string(r.first) + "-" + std::to_string(r.second) + " ";
            ASSERT_EQ(runs.size(), 7u) << seen;
            for (int i = 0; i < 7; ++i) {
                const QRect box(boxes[i]->mapTo(&p, QPoint(0, 0)), boxes[i]->size());
                EXPECT_GE(runs[i].first, box.left()) << boxes[i]->objectName().toStdString();
                EXPECT_LE(runs[i].second, box.right()) << boxes[i]->objectName().toStdString();
            }
        });
    }
    px::set_ansi_code_page(1252);
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
