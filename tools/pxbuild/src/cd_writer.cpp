#include "pxbuild/cd_writer.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace pxbuild {

namespace {
// "SHAMEI.DAT" + level 2 -> "SHAMEI.IA2"; ext "IS" -> "JOUHOU.IS2".
std::string level_name(std::string_view data_name, std::string_view ext, int level) {
    std::string base(data_name.substr(0, data_name.find('.')));
    return base + "." + std::string(ext) + std::to_string(level);
}
}  // namespace

CdWriter::CdWriter(std::string host_folder, std::string_view cd_id, std::string_view cd_date)
    : folder_(std::move(host_folder)) {
    if (cd_id.size() != 2 || cd_date.size() != 8) throw BuildError("a CD label is a 2-character id and an 8-character date");
    label_ = std::string(cd_id) + std::string(cd_date);
    std::error_code ec;
    fs::remove_all(folder_, ec);
    fs::create_directories(folder_);
    write_text((fs::path(folder_) / kVolumeLabelFile).string(), label_ + "\n");
}

void CdWriter::put(std::string_view dir, std::string_view name, const Bytes& bytes) const {
    fs::path p(folder_);
    if (!dir.empty()) p /= std::string(dir);
    write_file((p / std::string(name)).string(), bytes);
}

void CdWriter::put_keyed(std::string_view dir, std::string_view data_name, const KeyedImage& img) const {
    put(dir, data_name, img.data);
    for (size_t i = 0; i < img.levels.size(); ++i) put(dir, level_name(data_name, "IA", static_cast<int>(i) + 1), img.levels[i]);
}

void CdWriter::put_jouhou(const MultiKeyImage& img) const {
    put("", "JOUHOU.DAT", img.data);
    const char* ext[3] = {"IA", "IS", "IK"};
    for (int s = 0; s < 3; ++s)
        for (size_t i = 0; i < img.indexes[s].size(); ++i)
            put("", level_name("JOUHOU.DAT", ext[s], static_cast<int>(i) + 1), img.indexes[s][i]);
}

}  // namespace pxbuild
