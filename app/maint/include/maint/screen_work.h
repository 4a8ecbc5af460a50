// The screen-text editor's work file SCREEN.TMP and the screen file it is
// made from and written back to.
//
// Screen file PXDROMnn.SCR: text lines ended by CR LF, in the system's ANSI
// code page. A line starting with "#" opens the section of one screen (one
// of the 37 tags of kScreenTags); a text line is the 4-digit text number, a
// separator and the text (at most 70 characters); the first text line after
// a tag names the screen.
//
// Work file SCREEN.TMP: record n (from 1) stands for line n of the screen
// file; records of 77 bytes:
//     0   1  mark: a blank, "*" once the text was replaced in the edit dialog
//     1   5  id: the line's first five characters (number and separator);
//            five blanks for a line kept whole (a section tag line, a line
//            of fewer than five characters, one whose first five are blank)
//     6  71  text: a text line's characters from the sixth on, a line kept
//            whole as it stands; then one CR (13), blank-padded to 71
// The CR marks where the text ends, so trailing blanks survive. A line too
// long for its record (a text over 70 characters) has no CR there: the
// record holds its first 71 characters and the whole line is kept beside
// the file (ScreenWork::long_lines), so that the export writes it unchanged
// and nothing of the screen file is ever lost.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace px::maint {

namespace swrec {
constexpr size_t kMark = 0;
constexpr size_t kId = 1;
constexpr size_t kIdLen = 5;
constexpr size_t kText = 6;
constexpr size_t kTextLen = 71;
constexpr size_t kSize = 77;
}  // namespace swrec

constexpr int kScreenCount = 37;
constexpr int kMaxTextLen = 70;

// The section tags, in their fixed order.
extern const std::array<const char*, kScreenCount> kScreenTags;
// The screens' names as the last import found them (empty until then);
// program-wide, so they outlive the editor.
std::array<std::string, kScreenCount>& ScreenNames();

// One text of the chosen screen as the grid shows it.
struct ScreenRow {
    char mark = ' ';
    std::string text;  // ANSI bytes, without the CR
};

class ScreenWork {
public:
    // Copies the screen file into the work file (which is made anew) and
    // collects the screen names. False when a file cannot be opened, read or
    // written (a full disk): the records written so far stay, and no export
    // writes them back until an import has taken the whole screen file.
    bool import_file(const std::string& screen_path, const std::string& work_path);
    // Whether the last import took the whole screen file.
    bool whole() const { return whole_; }
    // The texts of the section with that tag (every record after the tag
    // record up to the next tag record); empty for an empty or unknown tag.
    std::vector<ScreenRow> section(const std::string& work_path, const std::string& tag) const;
    // Replaces text `row` (from 1) of the section with that tag, marked "*".
    // False, with nothing written, when the section or the row is not there
    // or the text is longer than 70 characters.
    bool write_text(const std::string& work_path, const std::string& tag, int row, const std::string& text) const;
    // Writes the work file back to the screen file: first to a file beside
    // it, which then takes the screen file's place, so a failure leaves the
    // screen file whole. False on any failure, and without writing when the
    // last import was not whole.
    bool export_file(const std::string& work_path, const std::string& screen_path) const;

    // Whole lines too long for their record, by record number.
    const std::map<int32_t, std::string>& long_lines() const { return long_lines_; }

private:
    bool copy_in(const std::string& screen_path, const std::string& work_path);

    std::map<int32_t, std::string> long_lines_;
    bool whole_ = false;
};

}  // namespace px::maint
