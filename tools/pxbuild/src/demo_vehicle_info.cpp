#include "pxbuild/demo_vehicle_info.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "pxall/vehicle_work_layout.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;
namespace vw = pxall::vehwork;

namespace pxbuild {

namespace demo {

namespace {

int months(const std::string& yymm) { return std::stoi(yymm.substr(0, 2)) * 12 + std::stoi(yymm.substr(2, 2)) - 1; }
std::string yymm(int m) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d%02d", (m / 12) % 100, m % 12 + 1);
    return b;
}

struct Option {
    const char* symbol;
    const char* code;  // in the model code
};
const Option kGrades[] = {{"STD", "STD"}, {"GL", "GL"}, {"GLX", "GLX"}, {"SPORT", "SPRT"}};
const Option kGearboxes[] = {{"5MT", "5M"}, {"6MT", "6M"}, {"4AT", "4A"}};
const Option kDestinations[] = {{"EUR", "EU"}, {"UK", "UK"}};
constexpr int kPeriods = 4;
constexpr int kFramePeriods = 3;

// "AVS16P1" -> "1.6P": displacement and fuel from characters 3-5.
std::string engine_of(const std::string& frame_model) {
    return frame_model.substr(3, 1) + "." + frame_model.substr(4, 1) + frame_model.substr(5, 1);
}

struct SymbolDef {
    const char* symbol;
    const char* en;
    const char* fr;
};

const SymbolDef kEngines[] = {
    {"1.2P", "1.2 LITRE PETROL, 4 CYLINDER, 16 VALVE", "ESSENCE 1,2 LITRE, 4 CYLINDRES"},
    {"1.4P", "1.4 LITRE PETROL, 4 CYLINDER, 16 VALVE", "ESSENCE 1,4 LITRE, 4 CYLINDRES"},
    {"1.6P", "1.6 LITRE PETROL, 4 CYLINDER, 16 VALVE, VARIABLE VALVE TIMING", "ESSENCE 1,6 LITRE, DISTRIBUTION VARIABLE"},
    {"1.9D", "1.9 LITRE DIESEL, COMMON RAIL, TURBOCHARGED WITH INTERCOOLER", "DIESEL 1,9 LITRE, RAMPE COMMUNE, TURBO"},
    {"2.0P", "2.0 LITRE PETROL, 4 CYLINDER, DIRECT INJECTION", "ESSENCE 2,0 LITRES, INJECTION DIRECTE"},
    {"2.2D", "2.2 LITRE DIESEL, COMMON RAIL, TURBOCHARGED", "DIESEL 2,2 LITRES, RAMPE COMMUNE, TURBO"},
};
const SymbolDef kGearboxTexts[] = {
    {"5MT", "5-SPEED MANUAL TRANSMISSION", "BOITE MANUELLE 5 VITESSES"},
    {"6MT", "6-SPEED MANUAL TRANSMISSION", "BOITE MANUELLE 6 VITESSES"},
    {"4AT", "4-SPEED AUTOMATIC TRANSMISSION WITH TORQUE CONVERTER LOCK-UP", "BOITE AUTOMATIQUE 4 RAPPORTS"},
};
const SymbolDef kGradeTexts[] = {
    {"STD", "STANDARD", "STANDARD"},
    {"GL", "GRAND LUXE", "GRAND LUXE"},
    {"GLX", "GRAND LUXE, EXTRA EQUIPMENT: ALLOY WHEELS, FOG LAMPS, CLIMATE CONTROL", "GRAND LUXE, EQUIPEMENT SUPPLEMENTAIRE"},
    {"SPORT", "SPORT, LOWERED SUSPENSION, 17 INCH WHEELS", "SPORT, SUSPENSION SURBAISSEE"},
};
const SymbolDef kDestinationTexts[] = {
    {"EUR", "EUROPE EXCEPT UNITED KINGDOM AND IRELAND", "EUROPE SAUF ROYAUME-UNI ET IRLANDE"},
    {"UK", "UNITED KINGDOM AND IRELAND, RIGHT HAND DRIVE", "ROYAUME-UNI ET IRLANDE, CONDUITE A DROITE"},
};

struct FeatureDef {
    uint16_t code;
    const char* en;
    const char* fr;
};
const FeatureDef kFeatures[] = {
    {1, "ENGINE", "MOTEUR"}, {2, "TRANSMISSION", "BOITE DE VITESSES"}, {3, "GRADE", "FINITION"}, {4, "DESTINATION", "DESTINATION"}};

// Frame models of every catalogue in catalogue order, for their indexes.
std::vector<std::string> all_frame_models() {
    std::vector<std::string> out;
    for (const auto& c : catalogs()) out.insert(out.end(), c.frame_models.begin(), c.frame_models.end());
    return out;
}

size_t frame_model_index(const std::string& fm) {
    auto all = all_frame_models();
    return static_cast<size_t>(std::find(all.begin(), all.end(), fm) - all.begin());
}

std::string padded(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
}

}  // namespace

std::string first_frame_number(size_t frame_model_index, int period) {
    char b[8];
    // A letter for the period, then six digits: 100001, 200001 ... by frame model.
    std::snprintf(b, sizeof b, "%c%06zu", 'A' + period % 26, (frame_model_index % 9 + 1) * 100000 + 1);
    return b;
}

VehicleFiles vehicle_files(const std::string& cd_id) {
    VehicleFiles v;
    const auto& cats = catalogs();
    for (size_t ci = 0; ci < cats.size(); ++ci) {
        const Catalog& c = cats[ci];
        if (c.cd_id.empty() || cd_id.empty() || c.cd_id[0] != cd_id[0]) continue;
        int m0 = months(c.date_from), m1 = months(c.date_to);
        for (const std::string& fm : c.frame_models) {
            std::string engine = engine_of(fm);
            for (int g = 0; g < 4; ++g)
                for (int t = 0; t < 3; ++t)
                    for (int d = 0; d < 2; ++d) {
                        // Each catalogue is built in three plants, one per gearbox,
                        // so that every identifier of the maker has vehicles.
                        std::string vin9 = std::string(vw::kWmis[(ci * 3 + static_cast<size_t>(t)) % vw::kWmiCount]) +
                                           fm.substr(0, 3) + std::to_string(g + 1) + fm.substr(4, 1) +
                                           std::to_string((t * 2 + d) % 10);
                        std::string model = fm + padded(kGrades[g].code, 4) + kGearboxes[t].code + kDestinations[d].code;
                        std::string charact2 = padded(engine, 5) + padded(kGearboxes[t].symbol, 5) +
                                               padded(kGrades[g].symbol, 5) + padded(kDestinations[d].symbol, 5);
                        std::string name = c.car_name.substr(0, c.car_name.find(' ')) + " " + engine + " " + kGrades[g].symbol;
                        for (int y = 0; y < kPeriods; ++y) {
                            int a = m0 + (m1 - m0 + 1) * y / kPeriods, b = m0 + (m1 - m0 + 1) * (y + 1) / kPeriods - 1;
                            v.jouhou.push_back(Record(186)
                                                   .text(0, 6, c.code)
                                                   .text(6, 9, vin9)
                                                   .text(15, 15, model)
                                                   .text(30, 4, yymm(a))
                                                   .text(34, 4, y + 1 == kPeriods ? "" : yymm(b))
                                                   .text(38, 10, engine)
                                                   .text(48, 105, charact2)
                                                   .text(153, 20, name)
                                                   .text(177, 4, c.date_to));
                        }
                    }
            size_t fmi = frame_model_index(fm);
            for (int s = 0; s < kFramePeriods; ++s) {
                int a = m0 + (m1 - m0 + 1) * s / kFramePeriods, b = m0 + (m1 - m0 + 1) * (s + 1) / kFramePeriods - 1;
                std::string first = first_frame_number(fmi, s);
                std::string last = first.substr(0, 2) + "99999";
                v.framno.push_back(Record(107)
                                       .text(0, 6, c.code)
                                       .text(6, 7, fm)
                                       .text(13, 7, first)
                                       .text(20, 7, last)
                                       .text(27, 4, yymm(a))
                                       .text(31, 4, yymm(b))
                                       .text(35, 20, c.car_name));
            }
        }
    }
    // FRAMNO ascends by its key: frame model, then the range.
    std::stable_sort(v.framno.begin(), v.framno.end(),
                     [](const std::string& a, const std::string& b) { return a.compare(6, 14, b, 6, 14) < 0; });
    return v;
}

FeatureFiles feature_files(const Catalog& cat) {
    FeatureFiles f;
    std::vector<std::string> engines;
    for (const auto& fm : cat.frame_models)
        if (std::find(engines.begin(), engines.end(), engine_of(fm)) == engines.end()) engines.push_back(engine_of(fm));
    auto add_symbol = [&](uint16_t code, const SymbolDef& s) {
        for (const char* lang : {"01", "03"})
            f.kigouu.push_back(Record(90)
                                   .text(0, 6, cat.code)
                                   .u16(vw::kigouu::kCode, code)
                                   .text(vw::kigouu::kSymbol, 10, s.symbol)
                                   .text(vw::kigouu::kLang, 2, lang)
                                   .text(vw::kigouu::kText, 70, lang[1] == '1' ? s.en : s.fr));
    };
    for (const auto& ft : kFeatures)
        for (const char* lang : {"01", "03"})
            f.tokume.push_back(Record(30)
                                   .text(0, 6, cat.code)
                                   .u16(vw::tokume::kCode, ft.code)
                                   .text(vw::tokume::kLang, 2, lang)
                                   .text(vw::tokume::kName, 20, lang[1] == '1' ? ft.en : ft.fr));
    for (const auto& s : kEngines)
        if (std::find(engines.begin(), engines.end(), s.symbol) != engines.end()) add_symbol(1, s);
    for (const auto& s : kGearboxTexts) add_symbol(2, s);
    for (const auto& s : kGradeTexts) add_symbol(3, s);
    for (const auto& s : kDestinationTexts) add_symbol(4, s);
    return f;
}

std::string jouhou_tmp_record(const std::string& jouhou, int32_t setup_index, int32_t second, char mark,
                              std::string_view date_to2) {
    if (jouhou.size() != 186) throw BuildError("a JOUHOU.DAT record has 186 bytes");
    Record r(vw::jtmp::kSize);
    r.text(0, vw::jtmp::kTo2, std::string_view(jouhou).substr(0, vw::jtmp::kTo2));
    r.text(vw::jtmp::kTo2, 4, date_to2.empty() ? std::string_view(jouhou).substr(vw::jtmp::kTo2, 4) : date_to2);
    r.u32(vw::jtmp::kNum1, static_cast<uint32_t>(setup_index));
    r.u32(vw::jtmp::kNum2, static_cast<uint32_t>(second));
    r.fill(vw::jtmp::kMark, 1, mark);
    return r;
}

}  // namespace demo

namespace {
// Index levels of an earlier build that the new one may not have.
void remove_levels(const std::string& folder, const std::string& dir, const std::string& base, const char* ext) {
    for (int l = 1; l <= 3; ++l) {
        fs::path p(folder);
        if (!dir.empty()) p /= dir;
        std::error_code ec;
        fs::remove(p / (base + "." + ext + std::to_string(l)), ec);
    }
}
}  // namespace

void write_vehicle_info(const CdWriter& cd, const std::string& cd_id, bool frame_models) {
    demo::VehicleFiles v = demo::vehicle_files(cd_id);
    for (const char* ext : {"IA", "IS", "IK"}) remove_levels(cd.folder(), "", "JOUHOU", ext);
    remove_levels(cd.folder(), "", "FRAMNO", "IA");
    cd.put_jouhou(build_jouhou(v.jouhou));
    cd.put_keyed("", "FRAMNO.DAT", build_keyed("FRAMNO.DAT", v.framno));
    if (frame_models) {
        remove_levels(cd.folder(), "", "FRKATA", "IA");
        cd.put_keyed("", "FRKATA.DAT", build_keyed("FRKATA.DAT", demo::frkata()));
    }
    for (const auto& cat : demo::catalogs()) {
        if (cat.cd_id != cd_id) continue;
        demo::FeatureFiles f = demo::feature_files(cat);
        remove_levels(cd.folder(), cat.code, "TOKUME", "IA");
        remove_levels(cd.folder(), cat.code, "KIGOUU", "IA");
        cd.put_keyed(cat.code, "TOKUME.DAT", build_keyed("TOKUME.DAT", f.tokume));
        cd.put_keyed(cat.code, "KIGOUU.DAT", build_keyed("KIGOUU.DAT", f.kigouu));
    }
}

void write_jouhou_tmp(const std::string& host_path, const std::vector<std::string>& records) {
    Bytes b;
    for (const auto& r : records) {
        if (r.size() != pxall::vehwork::jtmp::kSize) throw BuildError("a JOUHOU.TMP record has 191 bytes");
        b.insert(b.end(), r.begin(), r.end());
    }
    write_file(host_path, b);
}

}  // namespace pxbuild
