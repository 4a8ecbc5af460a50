// PXINTF: the interface program that the catalogue hands the current saved
// list to. This stand-in does the least its caller relies on: it records
// what it was given in its work file and ends with one of the exit codes the
// caller acts on.
//
//   PXINTF <saved-list file | @@@@@> <work file>
//
// The caller passes host paths. "@@@@@" means no saved list is current.
//
// Exit codes, as the caller reads them:
//   0  nothing to report (the saved list stays as it is)
//   1  the list was taken over: the caller resets the caller's number in the
//      list's header to "000"
//   2  the list was used up: the caller removes it from the save master
// The exit code is 0 unless the environment variable PXINTF_EXIT names
// another one (0-255), which is how tests and the demo choose 1 or 2.
//
// Work file (text, CR LF lines), written anew on every run:
//   PXINTF
//   LIST=<saved-list path or @@@@@>
//   PARTS=<number of 14-byte part records after the 99-byte header>
//                                        (only when the list could be read)
//   EXIT=<exit code>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr long kHeaderSize = 99;
constexpr long kPartRecordSize = 14;

int chosen_exit_code() {
    const char* text = std::getenv("PXINTF_EXIT");
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    long code = std::strtol(text, &end, 10);
    if (*end != '\0' || code < 0 || code > 255) return 0;
    return static_cast<int>(code);
}

// Part records in the saved list, or -1 when it cannot be read.
long part_count(const std::string& list) {
    std::FILE* fp = std::fopen(list.c_str(), "rb");
    if (fp == nullptr) return -1;
    long size = -1;
    if (std::fseek(fp, 0, SEEK_END) == 0) size = std::ftell(fp);
    std::fclose(fp);
    if (size < kHeaderSize) return -1;
    return (size - kHeaderSize) / kPartRecordSize;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: PXINTF <saved-list file | @@@@@> <work file>\n");
        return 0;
    }
    const std::string list = argv[1];
    const int code = chosen_exit_code();

    std::FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) {
        std::perror(argv[2]);
        return code;
    }
    std::fprintf(out, "PXINTF\r\nLIST=%s\r\n", list.c_str());
    if (list != "@@@@@") {
        long parts = part_count(list);
        if (parts >= 0) std::fprintf(out, "PARTS=%ld\r\n", parts);
    }
    std::fprintf(out, "EXIT=%d\r\n", code);
    std::fclose(out);
    return code;
}
