#include "staged_settings.h"

#include <cstring>
#include <vector>

#include "pxall/blocks.h"

namespace siup {

namespace {

namespace ct = pxall::ctop;

struct Field {
    size_t at, size;
};

// Every field the staging kinds change.
constexpr Field kStaged[] = {
    {ct::kAreaIndex, 4},        {ct::kMasterDir, ct::kDirSize},
    {ct::kDataLangCode, 3},     {ct::kDataLangNo, 2},
    {ct::kMenuLangCode, 3},     {ct::kMenuLangNo, 2},
    {ct::kPriceDir, ct::kDirSize}, {ct::kLocalPriceDir, ct::kDirSize},
    {ct::kExportPrograms, ct::kExportProgramSize * ct::kMaxExportPrograms},
    {ct::kSaveEditor, ct::kSaveEditorSize},
};

std::vector<unsigned char>& kept() {
    static std::vector<unsigned char> bytes;
    return bytes;
}

}  // namespace

void keep_before_staging(const unsigned char* top) {
    std::vector<unsigned char>& k = kept();
    if (!k.empty()) return;
    for (const Field& f : kStaged) k.insert(k.end(), top + f.at, top + f.at + f.size);
}

void put_back_staged(unsigned char* top) {
    std::vector<unsigned char>& k = kept();
    if (k.empty()) return;
    size_t from = 0;
    for (const Field& f : kStaged) {
        std::memcpy(top + f.at, k.data() + from, f.size);
        from += f.size;
    }
    k.clear();
}

void forget_staged() { kept().clear(); }

}  // namespace siup
