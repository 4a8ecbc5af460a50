// One catalogue file read across the installed data sets, one after another.
#include <cstring>
#include <new>

#include "keyed_handle.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"

namespace pxall {

struct CdCursor {
    int32_t entries[ctop::kMaxSetup] = {};
    int count = 0;
    int next = 0;
    CdHandle* h = nullptr;
    int32_t done[ctop::kMaxSetup] = {};  // data sets already read
    int done_count = 0;
};

namespace {

void free_cursor(CdCursor** cursor) {
    if (*cursor == nullptr) return;
    cdclose(&(*cursor)->h, nullptr);
    delete *cursor;
    *cursor = nullptr;
}

bool read_before(const CdCursor* c, int entry) {
    for (int i = 0; i < c->done_count; ++i)
        if (c->done[i] == entry) return true;
    return false;
}

}  // namespace

int cdget_some_cd_data(const char* name, const char* catalog, int key_set, int mode, int drive, const int32_t* list,
                       int list_len, void* buf, const char* key, int key_len, int blocks, int32_t* blocks_read,
                       int32_t* position, int option, CdCursor** cursor, int* detail) {
    set_detail(detail, 0);
    if (cursor == nullptr) {
        set_detail(detail, cdd::kCursorArgument);
        return 128;
    }
    if (mode == -1) {
        free_cursor(cursor);
        return 0;
    }
    if (*cursor == nullptr) {
        if (list != nullptr && list_len < 1) {
            set_detail(detail, cdd::kCursorArgument);
            return 128;
        }
        CdCursor* c = new (std::nothrow) CdCursor();
        if (c == nullptr) {
            set_detail(detail, cdd::kCursorMemory);
            return 20;
        }
        const unsigned char* top = get_ctop_addr();
        int all = top == nullptr ? 0 : get_i32(top + ctop::kSetupCount);
        int n = list != nullptr ? list_len : all;
        bool own_files = catalog == nullptr || catalog[0] == 0;
        for (int i = 0; i < n && c->count < ctop::kMaxSetup; ++i) {
            int32_t e = list != nullptr ? list[i] : i;
            // A later CD of the same issue holds the same data-set files.
            if (own_files && c->count > 0) {
                const unsigned char* a = setup_entry_addr(c->entries[c->count - 1]);
                const unsigned char* b = setup_entry_addr(e);
                if (a != nullptr && b != nullptr && a[0] == b[0] &&
                    std::memcmp(a + setup_entry::kCdDate, b + setup_entry::kCdDate, 8) == 0)
                    continue;
            }
            c->entries[c->count++] = e;
        }
        *cursor = c;
    }
    CdCursor* c = *cursor;
    int read_mode = (mode != 0 && mode != 2) ? 1 : 0;
    for (;;) {
        if (c->h == nullptr) {
            if (c->next >= c->count) {
                free_cursor(cursor);
                return -1;
            }
            int r = cdopen(name, catalog, key_set, read_mode, drive, c->entries[c->next], option, &c->h, detail);
            if (r == -1) {
                c->next++;
                continue;
            }
            if (r != 0) {
                free_cursor(cursor);
                return r;
            }
            int used = c->h->setup_index;
            if (read_before(c, used)) {
                cdclose(&c->h, nullptr);
                c->next++;
                continue;
            }
            if (c->done_count < ctop::kMaxSetup) c->done[c->done_count++] = used;
        }
        int r = cdread(buf, key, key_len, blocks, blocks_read, position, c->h, detail);
        if (r == 0) {
            if (mode < 2) free_cursor(cursor);
            return 0;
        }
        if (r != -1) {
            free_cursor(cursor);
            return r;
        }
        cdclose(&c->h, nullptr);
        c->next++;
    }
}

}  // namespace pxall
