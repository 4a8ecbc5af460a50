// PXVJIN, the vehicle identification: checks the entries of the vehicle
// screen one by one against the catalogue data, identifies the vehicle into
// the current-vehicle block of PXALL (pxall/blocks.h), prepares the model
// list, the saved-vehicle list and the vehicle-information pop-up, and reads
// and writes vehicle-information files.
//
// Every entry is a plain C export. A 16-bit number passes by value as
// int16_t; a string the engine fills or rewrites is the caller's fixed-length
// string (VbString: at most len bytes written, getters fill every byte,
// blank-padded); a path the engine only reads is NUL-terminated. Results are
// 32-bit (vjin_check_msgid 16-bit); each failure writes one error-log line
// (module "PXVJIN") before it is returned.
//
// What the engine keeps: the vehicle being identified (the entered texts and
// the catalogue and model found for them), the candidates still open, the
// last list opened and how it was left. It starts empty with drom_init's
// shared area; vjin_clear at a fresh load of the vehicle screen keeps the
// vehicle last handed on with vjin_exec, which vjin_init shows again; a
// vjin_clear on the open screen (F11) forgets it. The checks that follow
// vjin_exec (the F10 step) change the vehicle handed on: its kept copy, the
// current-vehicle block and VCLINF.TMP.
//
// A production date is always one of the model's periods: taking another
// model drops a date outside its periods (message 899 for the screen).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// --- the vehicle screen ---------------------------------------------------
PX_EXPORT int32_t vjin_init();
PX_EXPORT int32_t vjin_clear();
// 0 while no catalogue is identified (the detail part closed), else 1.
PX_EXPORT int32_t vjin_check_inputarea();
// The data-language option last chosen (1 English, 3 French, 4 German,
// 5 Spanish; 1 at the start).
PX_EXPORT int32_t vjin_check_lang();
PX_EXPORT int32_t vjin_change_lang(int16_t option);

// Checks; len is the entry's length without trailing blanks.
// VIN: 0 accepted or empty; 1 not a VIN (17 characters, no blank inside);
// 2 no vehicle of the catalogue data has its prefix; 4 refused (message);
// 8 catalogue known, the frame number of the VIN to be checked; 16
// catalogue known, frame number wanted; 32 vehicle identified; 99 the clerk
// gave up on the catalogue CD.
PX_EXPORT int32_t vjin_check_input_vin(int16_t len, VbString* vin);
// Catalogue ("ALL" for an empty entry): 0 unchanged; 1 open the catalogue
// list (key in the next-screen block); 4 refused; 8 identified with the
// model; 16 identified, model wanted.
PX_EXPORT int32_t vjin_check_input_cat(int16_t len, VbString* catalog);
// Model ("ALL" for an empty entry): 0 nothing to check; 1 unchanged; 2 open
// the model list; 4 refused; 8 identified.
PX_EXPORT int32_t vjin_check_input_model(int16_t len, VbString* model);
// Frame model and number: 0 accepted (or both empty); 1 open the catalogue
// list; 2 open the model list; 4 refused; 8 identified, with a production
// date; 16 identified, date wanted; 99 gave up on the CD.
PX_EXPORT int32_t vjin_check_input_frameno(int16_t len_model, VbString* frame_model, int16_t len_no,
                                           VbString* frame_no);
// Production date, year (4) and month (2): 0 accepted (or empty); 1 accepted
// in another production period of the model; 4 refused.
PX_EXPORT int32_t vjin_check_input_date(int16_t len, VbString* date);
// Colour (3) and trim (4): letters and digits; 0 accepted, 4 refused.
PX_EXPORT int32_t vjin_check_input_col(int16_t len, VbString* color);
PX_EXPORT int32_t vjin_check_input_trim(int16_t len, VbString* trim);
PX_EXPORT int32_t vjin_check_input_note(int16_t len, VbString* notes);
// The message of the last refusal or acceptance; 0 none.
PX_EXPORT int16_t vjin_check_msgid();

// The vehicle as the screen shows it; each fills the whole string.
PX_EXPORT int32_t vjin_disp_vin(VbString* s);    // 17
PX_EXPORT int32_t vjin_disp_cat(VbString* s);    // 15
PX_EXPORT int32_t vjin_disp_mod(VbString* s);    // 20
PX_EXPORT int32_t vjin_disp_fmod(VbString* s);   // 7
PX_EXPORT int32_t vjin_disp_fno(VbString* s);    // 7
PX_EXPORT int32_t vjin_disp_ad(VbString* s);     // 6, year and month
PX_EXPORT int32_t vjin_disp_clr(VbString* s);    // 3
PX_EXPORT int32_t vjin_disp_trm(VbString* s);    // 4
PX_EXPORT int32_t vjin_disp_not(VbString* s);    // 30
PX_EXPORT int32_t vjin_disp_char1(VbString* s);  // 10
PX_EXPORT int32_t vjin_disp_nam(VbString* s);    // 20
PX_EXPORT int32_t vjin_disp_pdf(VbString* s);    // 4, YYMM
PX_EXPORT int32_t vjin_disp_pdt(VbString* s);    // 4, YYMM
PX_EXPORT int32_t vjin_disp_char2(int16_t item, VbString* s);  // item 0-20, 5

// 1 the vehicle is identified (the current-vehicle block is complete and
// VCLINF.TMP written); 0 not yet; -1 failure.
PX_EXPORT int32_t vjin_exec();
// 0 there are saved lists to choose from; 1 none; -1 failure.
PX_EXPORT int32_t vjin_select();
PX_EXPORT int32_t vjin_vinf_make();  // 0 VCLINF.TMP written, -1 failure
// How the last list was left: 0 a choice, 3 back (F3), 4 to the menu.
PX_EXPORT int32_t vjin_return_from_pxxxxx();
// After a catalogue chosen in the list: 4 nothing usable, 8 identified with
// the model, 16 model wanted.
PX_EXPORT int32_t vjin_return_vcat();
// After a model chosen in the list: 4 nothing usable, 8 identified.
PX_EXPORT int32_t vjin_return_vkei();
// After a list opened on the frame-number path: 2 the model list next, 4
// nothing usable, 8 identified with a date, 16 date wanted.
PX_EXPORT int32_t vjin_return_vxxx();
// After a saved list was chosen: 1 model list next, 4 nothing usable, 8/16/
// 32/64 the field to go on with (date, colour, trim, notes); -1 failure.
// Its entries take the checks of typed ones; a refused one is left out and
// vjin_check_msgid gives the first refusal's message.
PX_EXPORT int32_t vjin_make_from_pxfsel();
PX_EXPORT int32_t vjin_back();  // 0: the screen may be left
// Vehicle-information file: 0 read, nothing to identify with (or a file
// that is not one); 1 check the model (the file's catalogue is taken); 2
// the frame; 4 the VIN; -1 failure. The date, colour and trim of the file
// are checked as typed ones, the note against its width; a refused one is
// left out and vjin_check_msgid gives the first refusal's message. The identification
// entries are shown but not the vehicle's until their check accepts them.
PX_EXPORT int32_t vjin_get_vinf(const char* path);
PX_EXPORT int32_t vjin_set_vinf(const char* path);  // 0 written, -1 failure

// --- the model list --------------------------------------------------------
// 0 the list is ready; 1 nothing to list; -1 failure.
PX_EXPORT int32_t vkei_init();
// The full path of the list file (VKEILST.TMP, layout below), NUL-padded.
PX_EXPORT int32_t vkei_main(VbString* path);
// 0: the list may be left with F3; 1: not (opened on the frame-number path).
PX_EXPORT int32_t vkei_check_mode();
PX_EXPORT int32_t vkei_disp_model(VbString* s);  // 15: the model entered
// Takes row (from 0): 0 taken; 5 refused (contradicts the frame model
// entered); -1 failure (a row outside the list included).
PX_EXPORT int32_t vkei_ret(int16_t row);
// VCLINF.TMP for the model of row: 0, or -1.
PX_EXPORT int32_t vkei_make_vclinf_tmp(int16_t row);
PX_EXPORT int32_t vkei_end_proc(int16_t how);  // 3 back (F3), else to the menu

// --- the saved-vehicle list -------------------------------------------------
// 0 the list may open; -1 failure.
PX_EXPORT int32_t fsel_init();
// The full path of the list file (pxfsav.tmp of the saved-list library:
// 80-byte records), NUL-padded.
PX_EXPORT int32_t fsel_get_filename(VbString* path);
// Takes the saved list of that number: 0 taken; 1 it was deleted; 2 it is
// open for editing; -1 failure.
PX_EXPORT int32_t fsel_select_file(int16_t save_no);
PX_EXPORT int32_t fsel_end_proc(int16_t how);  // 3 back (F3), else to the menu

}

namespace pxvjin {

// The model list "VKEILST.TMP" (work directory): one 148-byte record per
// model that the entries so far leave open, text, no separators:
//     0   9  VIN prefix, blank-padded
//     9  15  model code: frame model 7, grade 4, gearbox 2, destination 2
//    24  10  characteristic 1 (engine)
//    34   9  production period "YYMM-YYMM" (an open end blank)
//    43 105  21 characteristics of 5
namespace modellist {
constexpr const char* kName = "VKEILST.TMP";
constexpr size_t kSize = 148;
constexpr size_t kVin = 0, kVinSize = 9;
constexpr size_t kModel = 9, kModelSize = 15;
constexpr size_t kChar1 = 24, kChar1Size = 10;
constexpr size_t kPeriod = 34, kPeriodSize = 9;
constexpr size_t kChar2 = 43, kChar2Size = 105;
}  // namespace modellist

// Vehicle-information file, chosen by the clerk. Text, lines ending CR LF
// (LF alone is read too), single-byte characters:
//   ".txt" (and any other name): one NAME=value a line, in any order; blank
//          lines and lines starting with ';' are passed over;
//   ".csv": one line of the names, then one line of the values, separated
//          by commas, or by semicolons as spreadsheets write them where the
//          comma is the decimal sign; a value holding the separator or a
//          quote is quoted ("").
// Names: VIN, CATALOG, MODEL, FRAMEMODEL, FRAMENO, PRODDATE (YYYYMM), COLOR,
// TRIM, NOTES, LANG, read in any case and with blanks around them and their
// values. The first line of a ".txt" is "PXVJIN=1", the first name of a
// ".csv" "PXVJIN" with the value 1: a file must carry it to be read as one;
// a UTF-8 byte-order mark before it is passed over (the rest must then be
// ASCII). An identification entry longer than its field makes the file
// foreign; a longer date, colour or trim is refused by its check and a
// longer note (in bytes) is left out, the rest of the file kept. The file
// is replaced whole or not at all.
namespace vinf {
constexpr const char* kMagic = "PXVJIN";
constexpr const char* kVersion = "1";
// The longest line that is read; a longer one makes the file foreign.
constexpr size_t kMaxLine = 512;
constexpr size_t kMaxFile = 8192;
}  // namespace vinf

}  // namespace pxvjin
