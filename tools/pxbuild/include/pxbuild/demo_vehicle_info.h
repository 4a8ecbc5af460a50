// The demo's vehicle information: the vehicles of each catalogue with VINs
// under the maker's identifiers (pxall/vehicle_work_layout.h), the frame-
// number ranges of each frame model, the frame-model file of the frame-number
// data set, the special features and symbols of each catalogue, and the
// JOUHOU.TMP work file that the vehicle identification writes.
//
// JOUHOU.DAT record of the demo (186 bytes; the identification engine's own
// file, key sets A, S, K at 0, 6, 15):
//     0   6  catalogue code               6   9  VIN prefix
//    15  15  model code: frame model 7, grade 4, gearbox 2, destination 2
//    30   4  production from YYMM        34   4  production to, blank: open
//    38  10  characteristic 1 (engine symbol)
//    48 105  21 x 5 characteristics 2 (engine, gearbox, grade, destination)
//   153  20  model name                 177   4  the catalogue's end YYMM
// FRAMNO.DAT record (107 bytes, key: frame model at 6):
//     0   6  catalogue code               6   7  frame model
//    13   7  first frame number          20   7  last frame number
//    27   4  production from YYMM        31   4  production to YYMM
//    35  20  car name
// FRKATA.DAT record (2048 bytes, key 11 at 0): frame model (blank-padded to
// 11), catalogue code, car name, production from and to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pxbuild/cd_writer.h"
#include "pxbuild/demo_data.h"

namespace pxbuild {

namespace demo {

struct VehicleFiles {
    std::vector<std::string> jouhou;  // 186 bytes each
    std::vector<std::string> framno;  // 107 bytes each
};

// The vehicles and frame-number ranges of every catalogue of the CD's area:
// the later CDs of an area are installed sharing the first one's vehicle and
// frame-number files, so each CD carries the whole area's.
VehicleFiles vehicle_files(const std::string& cd_id);

struct FeatureFiles {
    std::vector<std::string> tokume;  // 30 bytes each
    std::vector<std::string> kigouu;  // 90 bytes each
};
// A catalogue's special features and symbols, English and French.
FeatureFiles feature_files(const Catalog& cat);

// The first frame number of a frame model's production period (0-2).
std::string first_frame_number(size_t frame_model_index, int period);

// A JOUHOU.TMP record (191 bytes) from a JOUHOU.DAT record: the record's
// bytes 0-176, the second end date (the record's bytes 177-180 when empty),
// the set-up index of the vehicle's CD at 181, a second number at 185 and
// the mark at 190.
std::string jouhou_tmp_record(const std::string& jouhou, int32_t setup_index, int32_t second = 0, char mark = ' ',
                              std::string_view date_to2 = {});

}  // namespace demo

// Writes JOUHOU.DAT with its three key sets and FRAMNO.DAT at the CD's root,
// FRKATA.DAT (only with `frame_models`), and TOKUME.DAT and KIGOUU.DAT in the
// directory of each catalogue of the CD; files of these names are replaced.
void write_vehicle_info(const CdWriter& cd, const std::string& cd_id, bool frame_models);

// JOUHOU.TMP from 191-byte records.
void write_jouhou_tmp(const std::string& host_path, const std::vector<std::string>& records);

}  // namespace pxbuild
