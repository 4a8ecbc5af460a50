// A catalogue CD as a folder: its volume label in ".volume-label" at the
// root, the data set's files at the root ("SHAMEI.DAT", "SHAMEI.IA1" ...) and
// each catalogue's files under a directory named by its 6-character code
// ("12345A/HINBAN.DAT"). Index levels on a CD are separate files IA1-IA3
// (JOUHOU also IS1-IS3 and IK1-IK3); a level that is not there has no file.
#pragma once

#include <string>
#include <string_view>

#include "pxbuild/bytes.h"
#include "pxbuild/keyed_writer.h"

namespace pxbuild {

constexpr const char* kVolumeLabelFile = ".volume-label";

class CdWriter {
public:
    // Creates the folder (emptied first) and writes the label: the CD id
    // (area letter and digit), then the 8-character date ("E120240115").
    CdWriter(std::string host_folder, std::string_view cd_id, std::string_view cd_date);

    const std::string& folder() const { return folder_; }
    std::string label() const { return label_; }

    // A file at the root (dir empty) or in a catalogue directory.
    void put(std::string_view dir, std::string_view name, const Bytes& bytes) const;
    // A keyed file and its index levels: "SHAMEI.DAT" with SHAMEI.IA1 ...
    void put_keyed(std::string_view dir, std::string_view data_name, const KeyedImage& img) const;
    // JOUHOU.DAT with its three key sets.
    void put_jouhou(const MultiKeyImage& img) const;

private:
    std::string folder_;
    std::string label_;
};

}  // namespace pxbuild
