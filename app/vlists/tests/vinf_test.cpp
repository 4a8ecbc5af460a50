// The vehicle-information dialog over VCLINF.TMP files the test writes,
// opened through ShowVehicleInfoDialog as every screen opens it.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "shell/codepage.h"
#include "shell/vehicle_header.h"
#include "support/fixture.h"
#include "support/list_doubles.h"
#include "vlists/vinf.h"

namespace pxtest {
namespace {

using px::Form;
using px::Vinf;

struct Line {
    std::string text;
    int16_t mark;
};

// The header and `count` (default: as many as the lines) records.
std::string vclinf(const std::vector<Line>& lines, int count = -1) {
    std::string h = fixed("JMZ12345670012345", 17) + fixed("EU0001", 15) + "9801" + "0312" +
                    fixed("ROADSTER", 20) + fixed("RS-2000", 20) + fixed("ABC12", 7) + fixed("0012345", 7) + "200104";
    int n = count < 0 ? static_cast<int>(lines.size()) : count;
    h += std::string(1, static_cast<char>(n & 0xff)) + std::string(1, static_cast<char>((n >> 8) & 0xff));
    h += std::string(2, '\0');  // the writer's count is 32-bit
    h.resize(133, '\0');
    for (const Line& l : lines) {
        std::string r = fixed(l.text, 28) + std::string(1, '\0');
        r += std::string(1, static_cast<char>(l.mark & 0xff)) + std::string(1, static_cast<char>((l.mark >> 8) & 0xff));
        r += '\0';
        h += r;
    }
    return h;
}

std::vector<Line> lines_marking(int total, int marked) {
    std::vector<Line> lines;
    for (int i = 0; i < total; ++i) lines.push_back({"CODE" + std::to_string(i), static_cast<int16_t>(i < marked)});
    return lines;
}

class VinfTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        menu = px::loaded_form("Gyom");
    }
    // Opens the dialog over the menu; `inside` looks at it, then F12 closes it.
    int16_t open(std::function<void(Vinf&)> inside) {
        on_modal("Vinf", [&](Form& f) {
            auto& v = static_cast<Vinf&>(f);
            inside(v);
            if (v.loaded()) key(v, Qt::Key_F12);
        });
        return px::ShowVehicleInfoDialog(*menu);
    }
    static std::vector<int> selected(const Vinf& v) {
        std::vector<int> rows;
        for (int i = 0; i < v.lst_Dat->count(); ++i)
            if (v.lst_Dat->item(i)->isSelected()) rows.push_back(i);
        return rows;
    }
    Form* menu = nullptr;
};

TEST_F(VinfTest, HeaderAndLinesAsStored) {
    inst->write("WORK/VCLINF.TMP", vclinf({{"** ENGINE **", 0}, {"B6        1.6 DOHC", 1}, {"BP        1.8", 0}}));
    int16_t result = open([&](Vinf& v) {
        EXPECT_EQ(v.windowTitle(), "Vehicle Information");
        EXPECT_EQ(v.lbl_Vin->text(), "JMZ12345670012345");
        EXPECT_EQ(v.lbl_CatalogCD->text(), "EU0001" + QString(9, ' '));
        EXPECT_EQ(v.lbl_CatalogName->text(), "(9801-0312 ROADSTER            )");
        EXPECT_EQ(v.lbl_Model->text(), "RS-2000" + QString(13, ' '));
        EXPECT_EQ(v.lbl_FrameNo->text(), "(ABC12  -0012345)");
        EXPECT_EQ(v.lbl_Date->text(), "2001-04");
        ASSERT_EQ(v.lst_Dat->count(), 3);
        EXPECT_EQ(v.lst_Dat->item(1)->text(), " B6        1.6 DOHC" + QString(10, ' '));
        EXPECT_EQ(selected(v), (std::vector<int>{1}));
        EXPECT_EQ(v.lst_Dat->currentRow(), 0);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(px::VinfCaller(), menu);
}

// Every marked line stays highlighted, also beyond 23 of them.
TEST_F(VinfTest, MarkedLinesStayHighlightedAfterAClick) {
    for (auto [total, marked] : {std::pair{5, 0}, {5, 1}, {30, 24}, {250, 250}}) {
        inst->write("WORK/VCLINF.TMP", vclinf(lines_marking(total, marked)));
        int16_t result = open([&, total = total, marked = marked](Vinf& v) {
            ASSERT_EQ(v.lst_Dat->count(), total);
            EXPECT_EQ(static_cast<int>(v.marked_lines().size()), marked);
            // A click on a line, marked or not, leaves exactly the marks.
            QListWidgetItem* last = v.lst_Dat->item(total - 1);
            v.lst_Dat->scrollToItem(last);
            QTest::mouseClick(v.lst_Dat->viewport(), Qt::LeftButton, {},
                              v.lst_Dat->visualItemRect(last).center());
            QTest::mouseClick(v.lst_Dat->viewport(), Qt::LeftButton, {},
                              v.lst_Dat->visualItemRect(v.lst_Dat->item(total - 2)).center());
            EXPECT_EQ(static_cast<int>(selected(v).size()), marked);
            EXPECT_EQ(selected(v), v.marked_lines());
        });
        EXPECT_EQ(result, 0) << total << " " << marked;
    }
}

TEST_F(VinfTest, OtherMarksNeitherSelectNorDeselect) {
    inst->write("WORK/VCLINF.TMP", vclinf({{"A", 2}, {"B", 1}, {"C", -1}}));
    open([&](Vinf& v) { EXPECT_EQ(selected(v), (std::vector<int>{1})); });
}

TEST_F(VinfTest, TextTakesByte28AndStopsAtANul) {
    std::string file = vclinf({{"X", 0}, {"Y", 0}});
    // Line 1 uses byte 28; line 2 ends early at a NUL.
    file.replace(133, 29, fixed("SYMBOL    PIECE OF TEXT 19CH", 28) + "Z");
    file[133 + 32 + 3] = '\0';
    inst->write("WORK/VCLINF.TMP", file);
    open([&](Vinf& v) {
        EXPECT_EQ(v.lst_Dat->item(0)->text(), " SYMBOL    PIECE OF TEXT 19CHZ");
        EXPECT_EQ(v.lst_Dat->item(1)->text(), " Y  ");
    });
}

TEST_F(VinfTest, NoLinesIsAnEmptyListNotAFailure) {
    inst->write("WORK/VCLINF.TMP", vclinf({}));
    int16_t result = open([&](Vinf& v) { EXPECT_EQ(v.lst_Dat->count(), 0); });
    EXPECT_EQ(result, 0);
}

TEST_F(VinfTest, MissingOrShortFileFailsAndClosesAtOnce) {
    for (const std::string& body : {std::string(), std::string("short"), vclinf({{"A", 1}}, 5)}) {
        inst->remove("WORK/VCLINF.TMP");
        if (!body.empty()) inst->write("WORK/VCLINF.TMP", body);
        modals.clear();
        int16_t result = px::ShowVehicleInfoDialog(*menu);
        EXPECT_EQ(result, -1) << body.size();
        EXPECT_EQ(px::loaded_form(Vinf::kName), nullptr);
        EXPECT_TRUE(modals.empty());  // it never waited for the clerk
    }
    // The next opening starts afresh.
    inst->write("WORK/VCLINF.TMP", vclinf({{"A", 1}}));
    EXPECT_EQ(open([](Vinf&) {}), 0);
}

TEST_F(VinfTest, EnterClosesAndF6PrintsTheCallingScreen) {
    inst->write("WORK/VCLINF.TMP", vclinf({{"A", 1}}));
    bool closed = false;
    open([&](Vinf& v) {
        key(v, Qt::Key_F6);
        key(v, Qt::Key_Return);
        closed = !v.loaded();
    });
    EXPECT_TRUE(closed);
    ASSERT_FALSE(printer.last_image.isNull());
    EXPECT_EQ(printer.last_image.width(), menu->width());
}

TEST_F(VinfTest, TextsOfCodePage932) {
    // "車台" (frame) and "エンジン" (engine) in code page 932.
    inst->write("WORK/VCLINF.TMP", vclinf({{"\x8E\xD4\x91\xE4", 1}, {"\x83\x47\x83\x93\x83\x57\x83\x93", 0}}));
    px::set_ansi_code_page(932);
    open([&](Vinf& v) {
        EXPECT_EQ(v.lst_Dat->item(0)->text(), QString::fromUtf8(" 車台") + QString(24, ' '));
        EXPECT_EQ(v.lst_Dat->item(1)->text(), QString::fromUtf8(" エンジン") + QString(20, ' '));
        EXPECT_EQ(v.lst_Dat->font().family(), px::oem_font().family());
    });
    px::set_ansi_code_page(1252);
}

}  // namespace
}  // namespace pxtest
