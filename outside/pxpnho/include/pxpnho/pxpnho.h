// The parts-list engine: the parts list of the handed-over selection
// (SELECT.TMP, or LCPSEL.TMP when the local-parts flag of the next-screen
// block is set) from the part numbers and part names of the vehicle's
// catalogue, narrowed to the vehicle or by conditions, with marks and
// quantities kept in the engine across every rewrite; the print, price,
// feature and export files and the saved list. Layouts in pxpnho_layout.h.
//
// Results are 16-bit: 0 done; 4 the catalogue CD is missing or its request
// was cancelled; the message numbers below; any other value is a failure,
// written to the error log (module "PXPNHO01") before it is returned.
// Paths are written into the caller's string (at most its length - 1 bytes,
// then NUL); strings the engine only reads are NUL-terminated.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxpnho {
constexpr int16_t kQuiet = 4;
constexpr int16_t kMsgNoPrice = -1;       // no price file (839)
constexpr int16_t kMsgNothingMarked = 836;
constexpr int16_t kMsgNoNarrowing = 840;
constexpr int16_t kMsgPriceNotSetUp = 850;  // a dealer or third price with only the retail one set up
constexpr int16_t kMsgEmptyPrint = 853;
constexpr int16_t kMsgNoSaveNumber = 855;
constexpr int16_t kMsgRefused = 860;
constexpr int16_t kMsgCannotWrite = 900;
constexpr int16_t kFailure = -999;
}  // namespace pxpnho

extern "C" {

// Builds the list and writes PXPNHO1.TMP; its path into `path`, 0 into
// *match (not narrowed).
PX_EXPORT int16_t pnho_exec_main(VbString* path, int16_t* match);
// Forgets the list.
PX_EXPORT int16_t pnho_close_main();
// ask 1: 1 when the list came from LCPSEL.TMP, else 0; ask 0 clears that.
PX_EXPORT int16_t pnho_check_LclFigFlg(int16_t ask);
// Narrows to the vehicle, or back, and rewrites the list; the new state
// (1 narrowed, 0 not) into *match.
PX_EXPORT int16_t pnho_exec_match(int16_t* match);
// 0 conditions may be entered; 840 not for a local-parts list or a vehicle
// without a catalogue.
PX_EXPORT int16_t pnho_check_retran();
// The production date "YYYYMM" (year and month boxes joined): 0 for an empty
// one or a valid year-month; 860 otherwise.
PX_EXPORT int16_t pnho_check_jouhou(int16_t kind, const char* yyyymm);
PX_EXPORT int16_t pnho_set_FrameModel(const char* text);
PX_EXPORT int16_t pnho_set_FrameNo(const char* text);
PX_EXPORT int16_t pnho_set_Ad(const char* text);
PX_EXPORT int16_t pnho_set_ColorNo(const char* text);
PX_EXPORT int16_t pnho_set_TrimNo(const char* text);
// Narrows by the conditions just set and rewrites the list.
PX_EXPORT int16_t pnho_exec_retran(int32_t* reserved);
// The number of marked lines shown.
PX_EXPORT int16_t pnho_check_selcnt();
// Toggles the mark of line `index` (from 0): 0, or 1 for a line without a
// part number (or outside the list).
PX_EXPORT int16_t pnho_reverse_sel(int16_t index);
// 0 when line `index` carries a quantity, else 1.
PX_EXPORT int16_t pnho_input_qty(int16_t index);
// The 2-digit quantity of line `index` ("00" is kept as "01").
PX_EXPORT int16_t pnho_set_qty(int16_t index, const char* qty);
// The saved list in use goes back to used.
PX_EXPORT int16_t pnho_reset_mstflag();
// Writes the feature kind and code files of the catalogue.
PX_EXPORT int16_t pnho_exec_pop(VbString* kind_path, VbString* code_path);
PX_EXPORT int16_t pnho_clr_tokucyo();
// One chosen code (10 characters) of a kind.
PX_EXPORT int16_t pnho_set_tokucyo(int16_t kind, VbString* code);
// 0 when the choices are accepted (at most one a kind, each fitting the
// vehicle's characteristic fields), which then go into the vehicle; 860.
PX_EXPORT int16_t pnho_check_tokucyo();
PX_EXPORT int16_t pnho_close_pop();
// Writes the print file: the marked lines (every line when none is
// marked), priced when a price list was built, and a total line; 853 for an
// empty list.
PX_EXPORT int16_t pnho_exec_print(VbString* path);
// Writes the price list of the marked parts by price kind 0, 1 or 2; 836
// when none is marked, 850 for kind 1 or 2 when only the retail price file
// is set up, -1 when no price file can be opened.
PX_EXPORT int16_t pnho_exec_price(int16_t kind, VbString* path);
// Saves the marked parts as the next numbered saved list; 836 none marked,
// 855 no number left, 900 the list could not be written.
PX_EXPORT int16_t pnho_exec_save();
// The path of export program `entry` (0-7) into a 256-byte string; a NUL
// first byte for an empty entry.
PX_EXPORT int16_t pnho_get_expppnho(int16_t entry, VbString* buf);
// The saved-list editor's export program, the same way.
PX_EXPORT int16_t pnho_get_exppfsad(VbString* buf);
// Writes the marked lines to `path`: kind 0 CSV, 1 text; 836 none marked.
PX_EXPORT int16_t pnho_exec_intf(int16_t kind, const char* path);
}
