// The record search inside one buffer of records.
#include <algorithm>
#include <cstring>

#include "key_compare.h"
#include "pxall/keyed_file.h"

namespace pxall {

namespace {

int search(const void* key, int key_len, int key_off, int mask, const void* buf, int buf_len, int rec_len, int* index,
           int prefix) {
    if (key == nullptr || buf == nullptr || key_len < 1 || key_off < 0 || rec_len < 1 || buf_len < rec_len ||
        key_len > rec_len - key_off)
        return 0;
    const auto* k = static_cast<const unsigned char*>(key);
    const auto* b = static_cast<const unsigned char*>(buf);
    int n = buf_len / rec_len;
    for (int i = 0; i < n; ++i) {
        const unsigned char* field = b + static_cast<size_t>(i) * rec_len + key_off;
        if (prefix > 0 && std::memcmp(field, k, prefix) != 0) continue;
        int c = compare_keys(k, field, key_len);
        int bit = c < 0 ? keyed::kMaskBelow : c == 0 ? keyed::kMaskEqual : keyed::kMaskAbove;
        if (bit & mask) {
            if (index != nullptr) *index = i;
            return bit;
        }
    }
    return 0;
}

}  // namespace

int d_search(const void* key, int key_len, int key_off, int mask, const void* buf, int buf_len, int rec_len,
             int* index) {
    return search(key, key_len, key_off, mask, buf, buf_len, rec_len, index, 0);
}

int d_search2(const void* key, int key_len, int key_off, int mask, const void* buf, int buf_len, int rec_len,
              int* index) {
    // The prefix test never looks past the key itself.
    int prefix = key_len > 1 ? std::min(key_len, 4) : 0;
    return search(key, key_len, key_off, mask, buf, buf_len, rec_len, index, prefix);
}

}  // namespace pxall
