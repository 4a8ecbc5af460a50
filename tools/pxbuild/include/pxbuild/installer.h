// Installing a catalogue CD on disk the way the set-up does: the root master
// PXROOTMF.MST of the data set with its separate files, one catalogue master
// PX<cat6>.MST per catalogue directory of the CD with the files it holds, and
// the frame-number master PXFRNOMF.MST. Layout in pxall/keyed_layout.h.
//
// Where each file is read from follows the CD's install kind:
//   master      kind '1' (full copy)            kind '0' (masters only)
//   root        1 (disk) for every entry        the location class (0 or 1)
//   catalogue   class 0 becomes 2               the class (0 or 2)
//   frame       class 0 becomes 1               the class (0 or 1)
// Class 9 (FIGMnn, HINMnn) is 1 for the data language's files, else 0. A
// kind-'0' CD that is not the first of its area shares the first CD's
// separate files: its location-1 entries name the first CD's directory and
// carry the sizes recorded when that one was installed, and nothing is copied.
#pragma once

#include <map>
#include <string>

#include "pxbuild/bytes.h"

namespace pxbuild {

struct InstallSpec {
    std::string cd_folder;   // host folder of the CD
    std::string target_dir;  // host folder under which the data set's directory is made
    std::string dir_name;    // the data set's directory ("E1", "EF")
    char install_kind = '1';
    std::string cd_no = "01";     // CD number, header 24-25
    std::string lang = "01";      // data language code
    std::string setup_date = "20240620";
    std::string setup_time = "093000";
};

class Installer {
public:
    // Root master, separate files and catalogue masters of one catalogue CD.
    // The first CD installed of an area is remembered for the later ones.
    void install_catalog_cd(const InstallSpec& job);
    // The frame-number master and FRKATA files from a CD's root.
    void install_frame_set(const InstallSpec& job);

private:
    std::map<char, std::string> first_dir_;                // area letter -> first CD's directory
    std::map<std::string, int32_t> root_sizes_;             // file name -> blocks of the first CD
};

// The length of a CD file in 2048-byte blocks rounded up; 0 when absent.
int32_t cd_file_blocks(const std::string& cd_folder, const std::string& dir, const std::string& name);
// The 10 characters of a CD folder's label.
std::string cd_label(const std::string& cd_folder);

}  // namespace pxbuild
