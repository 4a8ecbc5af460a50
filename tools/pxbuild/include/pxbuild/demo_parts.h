// The demo's earlier issue of catalogue CD E1: the CD of 1 June 2023 that
// the CD of 15 January 2024 replaced. The part-number list compares a
// catalogue's figure index against it, so it must sit in a second CD drive
// of the demo (the drive table line and the CD drive list below).
//
// The earlier issue holds the same catalogues, car names and part names, but
// not every part: a part of the current issue is "added later" when its part
// number begins with "909" (the highest part numbers of every catalogue, so
// the newest parts lie beyond the earlier issue's last part number) or when
// its hash says so (about one part in five); and it holds "withdrawn" part
// numbers that the current issue no longer has (the part number with "00"
// as its last two characters, for about one part-name code in seven).
//
// Part names are shared across catalogues in the demo already: every
// part-name code is used by every catalogue, and the part-name file of each
// CD holds them all.
#pragma once

#include <string>
#include <vector>

namespace pxbuild {

constexpr const char* kEarlierIssueId = "E1";
constexpr const char* kEarlierIssueDate = "20230601";
// The CD folder below the demo's cd/ folder.
constexpr const char* kEarlierIssueFolder = "E1-2023";
// What the demo's drive table and environment file need for it: a line of
// PXDRIVES.SYS and the CDROM setting of PXDROM.SYS.
constexpr const char* kEarlierIssueDriveLine = "F=../../cd/E1-2023,cdrom";
constexpr const char* kDemoCdDrives = "CDROM=E:,F:";

struct EarlierIssueSummary {
    int catalogs = 0;
    int parts = 0;        // part numbers in its figure index
    int added_later = 0;  // parts of the current issue it does not hold
    int withdrawn = 0;    // parts it holds that the current issue does not
};

// Writes the earlier issue into <folder>/cd/E1-2023. Throws BuildError.
EarlierIssueSummary write_demo_earlier_issue(const std::string& folder);

namespace demo {

// Whether a part of the current CD E1 came after the earlier issue.
bool added_later(const std::string& part_no);

struct InquiryText {
    int no;
    const char* text;
};
// The texts of the part-number inquiries (messages with 3-digit numbers, a
// number twice for two lines; screen texts with 4 digits), to go into the
// demo's text files.
const std::vector<InquiryText>& part_inquiry_messages();
const std::vector<InquiryText>& part_inquiry_screen_texts();

}  // namespace demo

}  // namespace pxbuild
