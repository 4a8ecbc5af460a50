// What the search-route screens hand from one form to the next beyond the
// next-screen block: the keyword and the paths of the work files a library
// wrote for the next screen, and what the part-name-code entry lists share
// with their pick lists. One object for the run of the program; each screen
// sets what it hands on just before it opens the next one.
//
// The strings are fixed-length: a library that fills one is given it at its
// full width and copies at most that many bytes into it (NUL-padded), a
// screen reads it up to the first NUL.
#pragma once

#include <cstdint>
#include <string>

#include <QPointer>

class QListWidget;

namespace px::search {

// Widths of the fixed-length strings.
constexpr size_t kKeywordWidth = 20;
constexpr size_t kWorkPathWidth = 80;
constexpr size_t kGroupCodeWidth = 3;
constexpr size_t kGroupNameWidth = 60;

struct RouteContext {
    // Route 8 to the keyword result list: the keyword blank-padded to 20,
    // and the path of KKWDPNC.TMP.
    std::string KeywordText = std::string(kKeywordWidth, ' ');
    std::string KeywordResultPath = std::string(kWorkPathWidth, '\0');
    // Route 3 to the local-parts figure list: the path of LPEMFNLS.TMP.
    std::string LpemFigListPath = std::string(kWorkPathWidth, '\0');

    // The entry lists and their pick lists. PncPopPath holds the path of
    // PNCPOP.TMP; the entry lists are those the pick lists append to.
    std::string PncPopPath = std::string(kWorkPathWidth, '\0');
    QPointer<QListWidget> PncEntryList;
    QPointer<QListWidget> GrpPncEntryList;
    std::string SelGroupCode = std::string(kGroupCodeWidth, ' ');
    std::string SelGroupName = std::string(kGroupNameWidth, ' ');
    // True (-1) when a pick list ended with a system error: its owner then
    // goes back to the main menu.
    int16_t PickListToMenu = 0;
};

RouteContext& route_context();
// A fresh context (tests).
void reset_route_context();

// A text blank-padded or cut to `width` bytes.
std::string fixed(const std::string& text, size_t width);
// A fixed-length string up to its first NUL: a path a library copied in.
std::string up_to_nul(const std::string& fixed_string);

}  // namespace px::search
