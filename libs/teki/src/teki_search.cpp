// The search: the catalogues of the chosen CDs, each entered part number
// looked up in their figure indexes, and its uses gathered into the entry's
// work file.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/hinban.h"
#include "pxall/hinban_lines.h"
#include "pxall/itemlist.h"
#include "pxall/keyed_file.h"
#include "pxall/part_records.h"
#include "pxall/text_cut.h"
#include "pxall/texts.h"
#include "teki/teki.h"
#include "teki/teki_layout.h"
#include "teki_state.h"

namespace teki {

namespace {

constexpr int kNotFoundText = 2710;

// Carries a status (2 or 4) that ends the search without failure.
struct Outcome {
    int result = 0;
    int16_t status = 0;
    bool done() const { return result != 0 || status != 0; }
};

int make_cattbl(Outcome* o) {
    State& s = st();
    free_cattbl();
    if (s.cd_count < 1) return 0;
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen("SHAMEI.DAT", "", 1, 1, -1, s.cd_table[0], 0, &h, &detail);
    if (r == 4) {
        o->status = 4;
        return 0;
    }
    if (r != 0) {
        log("teki_make_cattbl", "cdopen", r, detail, 20);
        return o->result = r;
    }
    int32_t blocks = pxall::cdfilelen(h);
    auto* buf = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(blocks > 0 ? blocks : 1) *
                                                        pxall::keyed::kBlockSize));
    if (buf == nullptr) {
        pxall::cdclose(&h, nullptr);
        log("teki_make_cattbl", "malloc", 20, 0, 21);
        return o->result = 20;
    }
    int32_t got = 0;
    r = blocks > 0 ? pxall::cdread(buf, nullptr, 0, blocks, &got, nullptr, h, &detail) : -1;
    pxall::cdclose(&h, nullptr);
    if (r != 0 && r != -1) {
        std::free(buf);
        log("teki_make_cattbl", "cdread", r, detail, 22);
        return o->result = r;
    }
    if (r == -1) got = 0;
    namespace sr = pxall::shamei_rec;
    for (int32_t b = 0; b < got && b < blocks; ++b) {
        for (int i = 0; i < sr::kPerBlock; ++i) {
            const unsigned char* rec = buf + static_cast<size_t>(b) * pxall::keyed::kBlockSize + i * sr::kSize;
            if (rec[0] == 0) break;
            for (int slot = 0; slot < s.cd_count; ++slot) {
                const unsigned char* e = pxall::setup_entry_addr(s.cd_table[slot]);
                if (e == nullptr || std::memcmp(e + pxall::setup_entry::kCdNo, rec + sr::kCdNo, 2) != 0) continue;
                auto* grown = static_cast<Catalog*>(
                    std::realloc(s.cattbl, sizeof(Catalog) * static_cast<size_t>(s.cat_count + 1)));
                if (grown == nullptr) {
                    std::free(buf);
                    log("teki_make_cattbl", "malloc", 20, 0, 23);
                    return o->result = 20;
                }
                s.cattbl = grown;
                Catalog& c = s.cattbl[s.cat_count++];
                std::memcpy(c.cd_no, rec + sr::kCdNo, 2);
                std::memcpy(c.code, rec + sr::kCatalog, sizeof c.code);
                std::memcpy(c.car_name, rec + sr::kCarName, sizeof c.car_name);
                c.slot = slot;
            }
        }
    }
    std::free(buf);
    return 0;
}

// The work record of a part: its length.
size_t work_record(const pxall::HinbanPart& p, int cat_index, unsigned char* rec) {
    namespace wr = work_rec;
    size_t len = wr::kRemarks + p.remarks.size();
    std::memset(rec, ' ', len);
    pxall::put_i16(rec + wr::kLength, static_cast<int16_t>(len));
    pxall::put_i16(rec + wr::kCatalogIndex, static_cast<int16_t>(cat_index));
    std::memcpy(rec + wr::kPnc, p.pnc, sizeof p.pnc);
    std::memcpy(rec + wr::kPart, p.part, sizeof p.part);
    std::memcpy(rec + wr::kQty, p.qty, sizeof p.qty);
    std::memcpy(rec + wr::kSlots, p.slots, sizeof p.slots);
    std::memcpy(rec + wr::kFrom, p.from, sizeof p.from);
    std::memcpy(rec + wr::kTo, p.to, sizeof p.to);
    std::memcpy(rec + wr::kRemarks, p.remarks.data(), p.remarks.size());
    return len;
}

// Keeps a part as an item: its length (16-bit) leads its bytes.
int keep(pxall::ItemList* items, const pxall::HinbanPart& p, int cat_index) {
    size_t len = work_rec::kRemarks + p.remarks.size();
    void* item = pxall::AddItem(items, static_cast<int>(pxall::kItemDataOffset + len));
    if (item == nullptr) {
        log("teki_seek_hinban", "AddItem", 20, 0, 24);
        return 20;
    }
    work_record(p, cat_index, pxall::item_data(item));
    return 0;
}

// The part name of a code on a CD: blanks when it is not there.
int part_name(const char* pnc, int32_t setup, char* name, Outcome* o) {
    std::memset(name, ' ', kNameSize);
    char file[16];
    hinmei_name(file, sizeof file);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen(file, "", 7, 0, -1, setup, 0, &h, &detail);
    if (r == -1) return 0;
    if (r == 4) {
        o->status = 4;
        return 0;
    }
    if (r != 0) {
        log("teki_seek_hinban", "cdopen", r, detail, 25);
        return o->result = r;
    }
    unsigned char rec[pxall::keyed::kBlockSize];
    r = pxall::cdread(rec, pnc, 6, 0, nullptr, nullptr, h, &detail);
    pxall::cdclose(&h, nullptr);
    if (r == 0) std::memcpy(name, rec + pxall::hinmei_rec::kName, kNameSize);
    if (r != 0 && r != -1) {
        log("teki_seek_hinban", "cdread", r, detail, 26);
        return o->result = r;
    }
    return 0;
}

int append_items(Entry& e, pxall::ItemList* items) {
    std::FILE* f = plat::fopen(e.path, "ab");
    if (f == nullptr) {
        log("teki_seek_hinban", "fopen", 11, errno, 27);
        return 11;
    }
    int r = 0;
    for (pxall::ItemLinks* it = items->first; it != nullptr && r == 0; it = it->next) {
        const unsigned char* rec = pxall::item_data(it);
        size_t len = static_cast<uint16_t>(pxall::get_i16(rec));
        if (std::fwrite(rec, 1, len, f) != len) {
            log("teki_seek_hinban", "fwrite", 13, errno, 28);
            r = 13;
        }
    }
    if (std::fclose(f) != 0 && r == 0) {
        log("teki_seek_hinban", "fwrite", 13, errno, 29);
        r = 13;
    }
    return r;
}

// The uses of an entry's part number under one part-name code of a
// catalogue.
int seek_hinban(const Catalog& cat, const char* pnc, Entry& e, int cat_index, int32_t setup, Outcome* o) {
    char name[kNameSize];
    if (part_name(pnc, setup, name, o) != 0 || o->done()) return o->result;
    char code[7] = {};
    std::memcpy(code, cat.code, 6);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen("HINBAN.DAT", code, 7, 0, -1, setup, 0, &h, &detail);
    if (r == -1) return 0;
    if (r == 4) {
        o->status = 4;
        return 0;
    }
    if (r != 0) {
        log("teki_seek_hinban", "cdopen", r, detail, 30);
        return o->result = r;
    }
    pxall::ItemList items{};
    pxall::HinbanParts parts(e.part);
    pxall::HinbanPart done;
    unsigned char rec[pxall::keyed::kBlockSize];
    auto found = [&](const pxall::HinbanPart& p) {
        if (e.found == 0) {
            e.found = 1;
            std::memcpy(e.name, name, kNameSize);
        }
        return keep(&items, p, cat_index);
    };
    while ((r = pxall::cdread(rec, pnc, 6, 0, nullptr, nullptr, h, &detail)) == 0) {
        int f = parts.feed(rec, &done);
        if (f == 20) {
            log("teki_seek_hinban", "AddItem", 20, 0, 31);
            r = 20;
            break;
        }
        if (f == 1 && (r = found(done)) != 0) break;
    }
    pxall::cdclose(&h, nullptr);
    if (r == -1) {
        r = parts.finish(&done) ? found(done) : 0;
    } else if (r != 20) {
        log("teki_seek_hinban", "cdread", r, detail, 32);
    }
    if (r == 0) r = append_items(e, &items);
    pxall::AllDeleteItem(&items);
    return o->result = r;
}

// Shows an entry's line: its part number and its name, or "not found".
void mark_line(plat::Control* box, int i, const Entry& e) {
    char display[15] = {};
    pxall::edit_hinban14(display, e.part);
    std::string line(display, 14);
    line += "  : ";
    if (e.found != 0) {
        line.append(e.name, kNameSize);
    } else {
        const char* t = pxall::get_scr_text(kNotFoundText);
        std::string text(kNameSize, ' ');
        pxall::put_text_field(text.data(), kNameSize, t != nullptr ? t : "", ' ');
        line += text;
    }
    box->lb_delete(i);
    box->lb_insert(i, line);
}

int make_hinban_tmp(plat::Control* box, Outcome* o) {
    State& s = st();
    for (int slot = 0; slot < s.cd_count && !o->done(); ++slot) {
        pxall::CdHandle* h = nullptr;
        int detail = 0;
        int r = pxall::cdopen("FIGIND.DAT", "", 15, 0, -1, s.cd_table[slot], 0, &h, &detail);
        if (r == -1) continue;
        if (r == 4) {
            o->status = 4;
            break;
        }
        if (r != 0) {
            log("teki_make_hinban_tmp", "cdopen", r, detail, 33);
            return o->result = r;
        }
        for (int c = 0; c < s.cat_count && !o->done(); ++c) {
            const Catalog& cat = s.cattbl[c];
            if (cat.slot != slot) continue;
            for (int i = 0; i < s.entry_count && !o->done(); ++i) {
                Entry& e = s.entries[i];
                char key[pxall::figind_rec::kKeySize];
                std::memcpy(key, cat.code, 6);
                std::memcpy(key + 6, e.part, 12);
                unsigned char rec[pxall::keyed::kBlockSize];
                pxall::cdreopen(h, &detail);
                r = pxall::cdread(rec, key, sizeof key, 0, nullptr, nullptr, h, &detail);
                if (r == 0) {
                    char pnc[7] = {};
                    std::memcpy(pnc, rec + pxall::figind_rec::kPnc, 6);
                    seek_hinban(cat, pnc, e, c, s.cd_table[slot], o);
                } else if (r != -1) {
                    log("teki_make_hinban_tmp", "cdread", r, detail, 34);
                    o->result = r;
                }
                if (!o->done()) mark_line(box, i, e);
            }
        }
        pxall::cdclose(&h, nullptr);
    }
    return o->result;
}

void put_string(VbString* s, const char* text) {
    if (s == nullptr || s->data == nullptr || s->len < 1) return;
    size_t n = std::strlen(text), len = static_cast<size_t>(s->len);
    std::memset(s->data, 0, len);
    std::memcpy(s->data, text, n < len ? n : len);
}

void discard_results() {
    free_cattbl();
    delete_work_files();
    char path[pxall::kPathSize];
    if (file_path(kScreenFile, path)) plat::delete_file(path);
}

}  // namespace

}  // namespace teki

using namespace teki;

extern "C" {

int32_t VBTekiSearchProc(int32_t hwnd, VbString* path, int16_t* status) {
    State& s = st();
    if (status != nullptr) *status = 0;
    delete_work_files();
    plat::Control* box = plat::control(hwnd);
    int32_t lines = box != nullptr ? box->lb_count() : 0;
    if (lines < 1) {
        if (status != nullptr) *status = 2;
        return 0;
    }
    if (lines > kMaxEntries) lines = kMaxEntries;
    std::memset(s.entries, 0, sizeof s.entries);
    s.entry_count = 0;
    for (int32_t i = 0; i < lines; ++i) {
        Entry& e = s.entries[i];
        std::string text;
        box->lb_text(i, &text);
        text.resize(14, ' ');
        pxall::edit_hinban12(e.part, text.data());
        std::memset(e.name, ' ', kNameSize);
        char name[24];
        std::snprintf(name, sizeof name, kWorkFileFormat, static_cast<int>(i));
        if (!file_path(name, e.path)) {
            log("VBTekiSearchProc", "get_path_name", -1, 0, 35);
            return -1;
        }
        s.entry_count++;
    }
    char screen[pxall::kPathSize];
    if (!file_path(kScreenFile, screen)) {
        log("VBTekiSearchProc", "get_path_name", -1, 0, 36);
        return -1;
    }
    put_string(path, screen);

    Outcome o;
    make_cattbl(&o);
    if (!o.done()) make_hinban_tmp(box, &o);
    if (o.result != 0) {
        discard_results();
        return o.result;
    }
    if (o.status != 0) {
        if (status != nullptr) *status = o.status;
        return 0;
    }
    int r = make_scrteki(screen);
    if (r == 0) {
        char csv[pxall::kPathSize];
        r = file_path(kCsvFile, csv, pxall::kPathMaster) ? make_scrteki_csv(csv) : 11;
    }
    if (r != 0) discard_results();
    return r;
}

}  // extern "C"
