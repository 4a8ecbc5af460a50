// The engine's own state and the helpers its entries share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pxall/vbstring.h"

namespace pxvjin {

constexpr const char* kModule = "PXVJIN";

// Widths of the entries as the screen shows them.
constexpr size_t kVinW = 17, kCatW = 15, kModW = 20, kFmodW = 7, kFnoW = 7, kAdW = 6, kClrW = 3, kTrmW = 4,
                 kNotW = 30;
constexpr size_t kCodeSize = 6, kModelCode = 15;

// Messages of the engine's refusals.
constexpr int16_t kMsgVinForm = 854;
constexpr int16_t kMsgVinUnknown = 808;
constexpr int16_t kMsgModelRefused = 843;
constexpr int16_t kMsgCatalogNotFit = 892;
constexpr int16_t kMsgVinNotFit = 893;
constexpr int16_t kMsgModelUnknown = 894;
constexpr int16_t kMsgFrameForm = 895;
constexpr int16_t kMsgFrameUnknown = 896;
constexpr int16_t kMsgFrameNotFit = 897;
constexpr int16_t kMsgDateForm = 898;
constexpr int16_t kMsgDateOutside = 899;
constexpr int16_t kMsgColorForm = 878;
constexpr int16_t kMsgTrimForm = 879;
constexpr int16_t kMsgNoteTooLong = 888;  // a file's note longer than the note field

// JOUHOU.DAT, the vehicles of an area (one record a model and period):
//     0   6  catalogue code            6   9  VIN prefix
//    15  15  model code                30   4  production from YYMM
//    34   4  production to YYMM, blank: open
//    38  10  characteristic 1          48 105  21 characteristics 2 of 5
//   153  20  model name               177   4  the catalogue's end YYMM
// Key sets 1, 2, 3: catalogue code, VIN prefix, model code.
namespace jouhou {
constexpr const char* kFile = "JOUHOU.DAT";
constexpr size_t kSize = 186;
constexpr size_t kCatalog = 0, kVin = 6, kVinSize = 9, kModel = 15, kFrom = 30, kTo = 34, kChar1 = 38,
                 kChar1Size = 10, kChar2 = 48, kChar2Size = 105, kName = 153, kEnd = 177;
constexpr int kSetCatalog = 1, kSetVin = 2, kSetModel = 3;
}  // namespace jouhou

// FRAMNO.DAT, the frame-number ranges (key: frame model at 6):
//     0   6  catalogue code            6   7  frame model
//    13   7  first frame number       20   7  last frame number
//    27   4  production from YYMM      31   4  production to YYMM
namespace framno {
constexpr const char* kFile = "FRAMNO.DAT";
constexpr size_t kSize = 107;
constexpr size_t kCatalog = 0, kFrameModel = 6, kFirst = 13, kLast = 20, kFrom = 27, kTo = 31;
}  // namespace framno

// One model of one catalogue with its production periods.
struct Model {
    std::string catalog;              // 6
    std::string code;                 // 15
    std::vector<std::string> records; // JOUHOU.DAT records, ascending
    std::string frame_model() const { return code.substr(0, 7); }
    std::string from() const;         // YYMM of the first period
    std::string to() const;           // YYMM of the last, blank when open
};

struct Catalog {
    std::string code;     // 6
    std::string shamei;   // the 97-byte car-name record
    int32_t read_index = -1, own_index = -1;
    std::vector<std::string> frame_models;  // of its vehicles, for the applicability bits
};

enum class ListKind { kNone, kCatalog, kModel, kSaved };

// Identification entries taken from a file that no check has seen yet: they
// are shown, and saved again, but they are not the vehicle's until their
// check accepts them (the block and the work files never carry them).
enum Unchecked : uint8_t { kUncVin = 1, kUncCat = 2, kUncModel = 4, kUncFmod = 8, kUncFno = 16 };

struct Vehicle {
    std::string vin, cat, model, fmod, fno, ad, clr, trm, notes;  // as shown, trimmed
    uint8_t unchecked = 0;  // Unchecked bits
    std::optional<Catalog> catalog;
    std::optional<Model> model_found;
    int period = -1;  // record of the model the date picked, -1 none
    // The models the entries so far leave open; none: not narrowed.
    std::optional<std::vector<Model>> candidates;
    int lang = 1;
};

struct State {
    Vehicle v;
    std::optional<Vehicle> kept;  // the vehicle handed on last
    bool open = false;            // vjin_init ran and the screen was not left
    // From vjin_exec to the next clear or init: the checks of the F10 step
    // change the vehicle handed on, and so the kept copy and VCLINF.TMP.
    bool handing_on = false;
    int16_t msgid = 0;
    ListKind list = ListKind::kNone;
    int32_t list_end = 4;
    bool frame_path = false;      // the model list was opened on the frame path
    std::vector<Model> rows;      // of the model list
    bool row_taken = false;
    int32_t save_no = 0;
};

State& state();

// --- catalogue data (catalog_data.cpp) ------------------------------------
// Results: 0, 4 the clerk gave up on the CD, -1 failure (logged).
int top_entry();  // the area's first catalogue data set, -1 none
int area_entries(std::vector<int32_t>* out);
int read_models(int key_set, const std::string& key, std::vector<Model>* out);
struct FrameRange {
    std::string catalog, frame_model, from, to;
};
int find_frames(const std::string& frame_no, const std::string& frame_model, std::vector<FrameRange>* out);
// 0 found, 1 none, 4 CD, -1 failure.
int find_catalog(const std::string& code, Catalog* out);

// --- the vehicle (vehicle.cpp) --------------------------------------------
bool identified();
// Keeps only the candidates that are also in `found` (all of them when none
// is open); false when none would be left (nothing changes then).
bool narrow(const std::vector<Model>& found);
// Catalogue and model taken from the candidates when they leave one; -1 on
// a failure, 4 CD, 0.
int settle();
int take_catalog(const Catalog& c);
// Takes the model; a production date held that lies outside its periods is
// dropped (message 899 kept for the screen).
void take_model(const Model& m);
void forget_model();
// The record of the model's period that holds the date "YYYYMM"; -1 none.
int period_of(const Model& m, const std::string& ad);

// --- the checks (entries_checks.cpp) ----------------------------------------
// One rule for an entry whatever its source (typed, a file, a saved
// vehicle, the F10 step): an accepted value goes into the vehicle, a refused
// one leaves it as it was and sets the message. Results as the vjin_check_
// entries give them.
int32_t check_vin(const std::string& vin);
int32_t check_frame(const std::string& fmod, const std::string& fno);
int32_t check_date(const std::string& ad);
int32_t check_color(const std::string& color);
int32_t check_trim(const std::string& trim);
void take_notes(const std::string& notes);
// A check's result is a refusal of its entry.
bool refused(int32_t code);
// The first refusal of a source of several entries, for the screen.
void note_refusal(int16_t* first);
// An entry that came unchecked from a file: dropped when its check begins,
// for the check decides on what the screen now holds.
void begin_check(uint8_t unchecked_bits);
// While the vehicle is being handed on (the F10 step), the kept copy and
// VCLINF.TMP follow what a check changed: the code, or -1 on a failure.
int32_t after_check(int32_t code);
// The current-vehicle block from the vehicle; JOUHOU.TMP from the candidates.
void fill_block();
int write_jouhou_tmp();
int write_vclinf(const Model* m);
int write_model_list(const std::vector<Model>& rows, char* path);
void reset_vehicle();
std::vector<Model> group(const std::vector<std::string>& records);
bool same(const Model& a, const Model& b);

// --- small text helpers ---------------------------------------------------
std::string trimmed(const char* p, size_t n);
std::string from_vb(const VbString* s, int16_t len);
void to_vb(VbString* s, const std::string& text);
std::string padded(const std::string& s, size_t n);
bool alnum_only(const std::string& s);
int fail(const char* function, const char* step, int32_t code, int32_t detail, int place);

}  // namespace pxvjin
