// The two-dimensional fax decoder: a state machine that stops wherever the
// input or the output space runs out and carries on from there at the next
// call.
//
// Lines are held as change positions: entry 0 of a line buffer is a guard
// (0), entries 1..n the positions where the colour changes (odd: white to
// black, even: black to white), and the reference line ends with three copies
// of the width so that b1 and b2 are always found without a bounds test.
// Positions never decrease along a line (runs of length 0 repeat one).
#include "pxall/faxdecode.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <new>

#include "faxdecode_tables.h"

namespace pxall {
namespace {

using namespace fax;

// Where a call stopped.
enum Step : uint8_t {
    kLineStart = 0,     // between lines
    kEolZeros = 2,      // inside an end-of-line code: zero bits up to its 1
    kEolTag = 3,        // the tag bit after it
    kEolEndCheck = 4,   // the eight bits after the tag (all zero: end of picture)
    kMode = 5,          // a two-dimensional line, a mode code is due
    kHorizontal1 = 6,   // the first run of a horizontal mode
    kHorizontal2 = 7,   // its second run
    kRun1D = 8,         // a one-dimensional line
    kRowOut = 10,       // a row that did not fit into the output space
};

// Changes a line may hold: the guard and the three closing entries aside.
constexpr int kMaxChanges = kFaxLineEntries - 4;

struct Decoder {
    bool active = false;
    uint16_t* lines = nullptr;  // both line buffers in one block
    uint8_t* row = nullptr;     // a row that straddles two output spaces
    uint16_t* ref = nullptr;
    uint16_t* cur = nullptr;
    int width = 0;
    int row_bytes = 0;
    // Coding line: changes held, a0, colour (0 white), the reference index
    // that b1 is searched from, whether no code of the line was read yet, the
    // run being added up, the tag of the line.
    int n = 0;
    int a0 = 0;
    int colour = 0;
    int j = 1;
    bool at_start = true;
    int run = 0;
    int tag = 0;
    // Bits read ahead, left-aligned; the bits below the held ones are zero.
    uint64_t bits = 0;
    int nbits = 0;
    int32_t in_pos = 0;
    int32_t out_off = 0;   // where the next row byte goes in the output space
    int row_done = 0;      // bytes of `row` already handed out
    uint8_t step = kLineStart;
};

Decoder g_dec;

void release() {
    delete[] g_dec.lines;
    delete[] g_dec.row;
    g_dec = Decoder{};
}

inline uint64_t load_be64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
    return v;
}

// Sets pixels [x0, x1) of a cleared row to black.
inline void fill_black(uint8_t* row, int x0, int x1) {
    int len = x1 - x0;
    if (len <= 0) return;
    uint8_t* p = row + (x0 >> 3);
    int s = x0 & 7;
    if (s + len <= 8) {
        *p |= static_cast<uint8_t>((0xFFu >> s) & ~(0xFFu >> (s + len)));
        return;
    }
    *p++ |= static_cast<uint8_t>(0xFFu >> s);
    len -= 8 - s;
    if (len >= 64) {
        std::memset(p, 0xFF, static_cast<size_t>(len >> 3));
        p += len >> 3;
        len &= 7;
    } else {
        while (len >= 8) {
            *p++ = 0xFF;
            len -= 8;
        }
    }
    if (len > 0) *p |= static_cast<uint8_t>(~(0xFFu >> len));
}

// Writes a whole row, white bytes too, from the line's changes, so the
// output space never needs clearing first.
void render_row(const uint16_t* c, int n, int width, uint8_t* row, int row_bytes) {
    std::memset(row, 0, static_cast<size_t>(row_bytes));
    int i = 1;
    for (; i < n; i += 2) fill_black(row, c[i], c[i + 1]);
    if (i == n) fill_black(row, c[n], width);
}

int init(uint16_t* width, uint16_t* status) {
    if (g_dec.active) {
        std::fputs("PROGRAM ERROR (decode_init)\n", stderr);
        *status = kFaxProgramError;
        return -1;
    }
    if (*width == 0 || *width > kFaxMaxWidth) {
        *status = *width == 0 ? kFaxLineTooShort : kFaxLineTooLong;
        return -1;
    }
    Decoder d;
    d.width = *width;
    d.row_bytes = (d.width + 7) / 8;
    d.lines = new (std::nothrow) uint16_t[2 * kFaxLineEntries]();
    d.row = new (std::nothrow) uint8_t[static_cast<size_t>(d.row_bytes)]();
    if (d.lines == nullptr || d.row == nullptr) {
        delete[] d.lines;
        delete[] d.row;
        *status = kFaxNoMemory;
        return -1;
    }
    d.ref = d.lines;
    d.cur = d.lines + kFaxLineEntries;
    // The first line is coded against an all-white line.
    d.ref[1] = d.ref[2] = d.ref[3] = static_cast<uint16_t>(d.width);
    d.active = true;
    g_dec = d;
    *status = kFaxInitialised;
    return 0;
}

enum RunResult { kRunDone, kRunNeedInput, kRunEndOfLine, kRunInvalid, kRunTooLong };

int decode(const uint8_t* in, int32_t in_len, uint8_t* out, int32_t out_size, int32_t* out_count,
           uint16_t* status) {
    Decoder& d = g_dec;
    if (d.out_off > out_size) {  // the caller changed the space under a started row
        release();
        *status = kFaxProgramError;
        return -1;
    }

    const int width = d.width;
    const int row_bytes = d.row_bytes;
    uint16_t* ref = d.ref;
    uint16_t* cur = d.cur;
    int n = d.n, a0 = d.a0, colour = d.colour, j = d.j, run = d.run, tag = d.tag;
    bool at_start = d.at_start;
    uint64_t bits = d.bits;
    int nbits = d.nbits;
    int32_t pos = d.in_pos < in_len ? d.in_pos : in_len;
    int32_t out_off = d.out_off;
    uint16_t result = 0;

    // Tops the bit window up to at least 57 bits while input lasts.
    auto refill = [&]() {
        if (in_len - pos >= 8) {
            int take = (64 - nbits) >> 3;
            if (take == 0) return;
            uint64_t w = load_be64(in + pos);
            if (take < 8) w &= ~uint64_t{0} << (64 - 8 * take);
            bits |= w >> nbits;
            nbits += 8 * take;
            pos += take;
        } else {
            while (nbits <= 56 && pos < in_len) {
                bits |= uint64_t{in[pos++]} << (56 - nbits);
                nbits += 8;
            }
        }
    };
    auto consume = [&](int k) {
        bits <<= k;
        nbits -= k;
    };
    // Adds the codes of one run of the given colour to `run`, up to its
    // terminating code.
    auto read_run = [&](int run_colour) -> RunResult {
        const RunEntry* table = run_colour ? kBlackTable.data() : kWhiteTable.data();
        for (;;) {
            if (nbits < 16) refill();
            RunEntry e = table[bits >> 56];
            if (e.kind == kSecondLevel) e = table[e.value + ((bits << kFirstBits) >> (64 - e.bits))];
            if (e.bits > nbits) return kRunNeedInput;
            if (e.kind >= kEndOfLine) return e.kind == kEndOfLine ? kRunEndOfLine : kRunInvalid;
            consume(e.bits);
            run += e.value;
            if (e.kind == kTerminating) return kRunDone;
            if (run > width) return kRunTooLong;
        }
    };

    int a1;
    ModeEntry me;
    RunResult rr = kRunDone;
    bool split;

    switch (d.step) {
        case kLineStart: goto line_start;
        case kEolZeros: goto eol_zeros;
        case kEolTag: goto eol_tag;
        case kEolEndCheck: goto eol_end_check;
        case kMode: goto mode;
        case kHorizontal1: goto horizontal1;
        case kHorizontal2: goto horizontal2;
        case kRun1D: goto run1d;
        case kRowOut: goto row_out;
        default: result = kFaxProgramError; goto fail;
    }

line_start:
    // Eight bits not all zero: a two-dimensional line without an end-of-line
    // code. A 1 among fewer held bits already tells.
    if (nbits < 8) refill();
    if ((bits >> 56) != 0) goto mode;
    if (nbits < 8) {
        d.step = kLineStart;
        goto need_input;
    }
eol_zeros:
    for (;;) {
        if (nbits == 0) refill();
        if (bits != 0) break;
        nbits = 0;  // every held bit is a zero
        refill();
        if (nbits == 0) {
            d.step = kEolZeros;
            goto need_input;
        }
    }
    consume(std::countl_zero(bits));
    consume(1);
eol_tag:
    if (nbits < 1) refill();
    if (nbits < 1) {
        d.step = kEolTag;
        goto need_input;
    }
    tag = static_cast<int>(bits >> 63);
    consume(1);
eol_end_check:
    if (nbits < 8) refill();
    if ((bits >> 56) == 0) {
        if (nbits < 8) {
            d.step = kEolEndCheck;
            goto need_input;
        }
        goto end_of_image;
    }
    if (tag) goto run1d;

mode:
    for (;;) {
        if (nbits < 16) refill();
        me = kModeTable[bits >> 56];
        if (me.bits > nbits) {
            d.step = kMode;
            goto need_input;
        }
        consume(me.bits);
        switch (me.mode) {
            case kVertical:
                if (!at_start)
                    while (ref[j] <= a0) j += 2;
                a1 = ref[j] + me.offset;
                if (a1 > width) {
                    result = kFaxLineTooLong;
                    goto fail;
                }
                if (a1 < a0) {
                    result = kFaxBadCode;
                    goto fail;
                }
                if (n >= kMaxChanges) {
                    result = kFaxLineTooLong;
                    goto fail;
                }
                cur[++n] = static_cast<uint16_t>(a1);
                a0 = a1;
                colour ^= 1;
                --j;  // b1 of the new colour lies at most one change back
                at_start = false;
                break;
            case kPass:
                if (!at_start)
                    while (ref[j] <= a0) j += 2;
                a0 = ref[j + 1];
                j += 2;
                at_start = false;
                break;
            case kHorizontal:
                run = 0;
            horizontal1:
                rr = read_run(colour);
                if (rr != kRunDone) {
                    d.step = kHorizontal1;
                    goto run_stopped;
                }
                a0 += run;
                run = 0;
                // Past the width, or more changes than a line can hold.
                if (a0 > width || n >= kMaxChanges) {
                    result = kFaxLineTooLong;
                    goto fail;
                }
                cur[++n] = static_cast<uint16_t>(a0);
            horizontal2:
                rr = read_run(colour ^ 1);
                if (rr != kRunDone) {
                    d.step = kHorizontal2;
                    goto run_stopped;
                }
                a0 += run;
                run = 0;
                // Past the width, or more changes than a line can hold.
                if (a0 > width || n >= kMaxChanges) {
                    result = kFaxLineTooLong;
                    goto fail;
                }
                cur[++n] = static_cast<uint16_t>(a0);
                at_start = false;
                break;
            case kModeEndOfLine:
                result = kFaxLineTooShort;
                goto fail;
            default:
                result = kFaxBadCode;
                goto fail;
        }
        if (a0 >= width) goto line_done;
    }

run_stopped:
    // A run of a horizontal mode did not complete.
    if (rr == kRunNeedInput) goto need_input;
    result = rr == kRunEndOfLine ? kFaxLineTooShort : rr == kRunTooLong ? kFaxLineTooLong : kFaxBadCode;
    goto fail;

run1d:
    // Runs of alternating colour up to the next end-of-line code.
    for (;;) {
        rr = read_run(colour);
        if (rr == kRunDone) {
            a0 += run;
            run = 0;
            if (a0 > width) {
                result = kFaxLineTooLong;
                goto fail;
            }
            if (n >= kMaxChanges) {
                result = kFaxLineTooLong;
                goto fail;
            }
            cur[++n] = static_cast<uint16_t>(a0);
            colour ^= 1;
            continue;
        }
        if (rr == kRunNeedInput) {
            d.step = kRun1D;
            goto need_input;
        }
        if (rr == kRunEndOfLine && run == 0) {
            if (a0 == width) goto line_done;
            result = kFaxLineTooShort;
            goto fail;
        }
        result = rr == kRunTooLong ? kFaxLineTooLong : kFaxBadCode;
        goto fail;
    }

line_done:
    cur[n + 1] = cur[n + 2] = cur[n + 3] = static_cast<uint16_t>(width);
    split = out_off + row_bytes > out_size;
    if (!split) {
        render_row(cur, n, width, out + out_off, row_bytes);
        out_off += row_bytes;
    } else {
        // The part that fits now, the rest at the next call.
        render_row(cur, n, width, d.row, row_bytes);
        d.row_done = out_size - out_off;
        std::memcpy(out + out_off, d.row, static_cast<size_t>(d.row_done));
        out_off = out_size;
    }
    {
        uint16_t* t = ref;
        ref = cur;
        cur = t;
    }
    n = 0;
    a0 = 0;
    colour = 0;
    j = 1;
    at_start = true;
    if (out_off == out_size) {
        d.step = split ? kRowOut : kLineStart;
        goto output_ready;
    }
    goto line_start;

row_out:
    {
        int k = row_bytes - d.row_done;
        if (k > out_size - out_off) k = out_size - out_off;
        std::memcpy(out + out_off, d.row + d.row_done, static_cast<size_t>(k));
        d.row_done += k;
        out_off += k;
        if (d.row_done == row_bytes) {
            d.row_done = 0;
            d.step = kLineStart;
        }
        if (out_off == out_size) goto output_ready;
        goto line_start;
    }

output_ready:
    d.out_off = 0;
    *out_count = out_size;
    *status = kFaxOutputReady;
    goto save;

need_input:
    d.out_off = out_off;
    pos = 0;  // the next call brings a fresh input buffer
    *out_count = 0;
    *status = kFaxNeedInput;
    goto save;

end_of_image:
    release();
    *out_count = out_off;
    *status = kFaxEndOfImage;
    return 0;

fail:
    release();
    *out_count = 0;
    *status = result;
    return -1;

save:
    d.ref = ref;
    d.cur = cur;
    d.n = n;
    d.a0 = a0;
    d.colour = colour;
    d.j = j;
    d.run = run;
    d.tag = tag;
    d.at_start = at_start;
    d.bits = bits;
    d.nbits = nbits;
    d.in_pos = pos;
    return 0;
}

}  // namespace

int fax_decode(int mode, uint16_t* width, const uint8_t* in, int32_t in_len, uint8_t* out, int32_t* out_count,
               uint16_t* status) {
    if (mode == kFaxRelease) {
        release();
        return 0;
    }
    if (status == nullptr) return -1;
    if (mode == kFaxInit) {
        if (width == nullptr) {
            *status = kFaxProgramError;
            return -1;
        }
        return init(width, status);
    }
    if (mode != kFaxDecode || !g_dec.active || width == nullptr || out_count == nullptr) {
        *status = kFaxProgramError;
        return -1;
    }
    *width = static_cast<uint16_t>(g_dec.width);
    if (in_len < 1) {
        g_dec.in_pos = 0;
        *out_count = 0;
        *status = kFaxNeedInput;
        return 0;
    }
    if (in == nullptr || out == nullptr || *out_count < 1) {
        release();
        *out_count = 0;
        *status = kFaxProgramError;
        return -1;
    }
    return decode(in, in_len, out, *out_count, out_count, status);
}

}  // namespace pxall
