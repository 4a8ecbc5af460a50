#include "pxall/faxdecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/fax_pictures.h"
#include "support/tiff_codec.h"

namespace {

using pxall::fax_decode;
using pxtest::Bitmap;
using pxtest::FaxCoding;
using pxtest::line_drawing;

// What one run of the decoder over a coded picture gave.
struct Outcome {
    int result = 0;
    uint16_t status = 0;
    std::vector<uint8_t> rows;  // the bytes reported, in order
    bool bad_report = false;    // an output-ready count other than the space size
};

// Decodes `coded` for a picture of `width`, handing the input over in chunks
// of `chunk` bytes (0: all at once), each in a buffer of its own size, into an
// output space of `space` bytes. A stream that runs out of input is dropped
// (kFaxRelease) and reported as kFaxNeedInput.
Outcome run_decoder(const std::vector<uint8_t>& coded, int width, size_t chunk, int32_t space) {
    Outcome o;
    uint16_t w = static_cast<uint16_t>(width);
    uint16_t status = 0;
    int32_t count = 0;
    o.result = fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status);
    o.status = status;
    if (o.result != 0) return o;

    if (chunk == 0) chunk = std::max<size_t>(coded.size(), 1);
    size_t at = 0;
    std::vector<uint8_t> in;
    auto next_chunk = [&] {
        size_t n = std::min(chunk, coded.size() - at);
        in.assign(coded.begin() + static_cast<long>(at), coded.begin() + static_cast<long>(at + n));
        at += n;
    };
    next_chunk();
    std::vector<uint8_t> out(static_cast<size_t>(space));
    // Each call uses up its input or fills the space; every row takes at
    // least one bit.
    size_t row_bytes = (static_cast<size_t>(width) + 7) / 8;
    size_t limit = coded.size() / chunk + 2 + (coded.size() * 8 + 8) * row_bytes / static_cast<size_t>(space) + 8;
    for (size_t calls = 0;; ++calls) {
        if (calls > limit) {
            ADD_FAILURE() << "decoder does not stop " << coded.size() << " w " << width << " chunk " << chunk << " space " << space << " status " << status << " at " << at << " rows " << o.rows.size();
            fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
            return o;
        }
        count = space;
        o.result = fax_decode(pxall::kFaxDecode, &w, in.data(), static_cast<int32_t>(in.size()), out.data(),
                              &count, &status);
        o.status = status;
        if (o.result != 0) return o;
        if (w != width) ADD_FAILURE() << "width changed to " << w;
        if (status == pxall::kFaxOutputReady && count != space) o.bad_report = true;
        if (status == pxall::kFaxOutputReady || status == pxall::kFaxEndOfImage)
            o.rows.insert(o.rows.end(), out.begin(), out.begin() + count);
        if (status == pxall::kFaxEndOfImage) return o;
        if (status == pxall::kFaxNeedInput) {
            if (count != 0) o.bad_report = true;
            if (at == coded.size()) {
                fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
                return o;
            }
            next_chunk();
        }
    }
}

// ---------------------------------------------------------------------------
// Pictures

Bitmap all_white(int w, int h) { return Bitmap(w, h); }

Bitmap all_black(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) b.fill(0, w, y);
    return b;
}

// One-pixel lines along the four edges, dots in the corners' neighbours.
Bitmap edge_lines(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        b.set(0, y);
        b.set(w - 1, y);
        if (y % 5 == 2) b.set(1, y);
        if (y % 7 == 3) b.set(w - 2, y);
    }
    b.fill(0, w, 0);
    b.fill(0, w, h - 1);
    return b;
}

// Runs far beyond 2560 pixels in both colours, and every make-up code.
Bitmap long_runs(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        int x0 = (y * 64 + y % 64) % w;
        int x1 = std::min(w, x0 + 2560 + y * 37 % 2700);
        if (y % 3 == 0) b.fill(x0, x1, y);
        if (y % 3 == 1) b.fill(0, w - y * 13 % 200, y);
        if (y % 3 == 2) b.fill(y * 11 % 300, w, y);
    }
    return b;
}

// Every run length from 0 to beyond 2560 in both colours, rows filled
// with white/black pairs of growing length.
Bitmap every_run(int w, int longest) {
    std::vector<std::vector<int>> rows(1);
    int used = 0;
    for (int len = 0; len <= longest; ++len) {
        if (used + 2 * len > w) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(len);
        used += 2 * len;
    }
    Bitmap b(w, static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y) {
        int x = 0;
        for (int len : rows[y]) {
            b.fill(x + len, x + 2 * len, static_cast<int>(y));
            x += 2 * len;
        }
    }
    return b;
}

// Edges whose position moves by -3 .. +3 from row to row, in both colours,
// so that every vertical mode occurs.
Bitmap slanted_edges(int w, int h) {
    Bitmap b(w, h);
    int shifts[] = {0, 1, 2, 3, -1, -2, -3, 3, -3, 2, -2, 1, -1};
    int x[4] = {w / 8, w / 3, w / 2, 3 * w / 4};
    for (int y = 0; y < h; ++y) {
        for (int k = 0; k < 4; ++k) x[k] = std::clamp(x[k] + shifts[(y + 3 * k) % 13], 0, w);
        std::sort(x, x + 4);
        b.fill(x[0], x[1], y);
        b.fill(x[2], x[3], y);
    }
    return b;
}

// Short black chunks on every other row over white rows: the reference runs
// end before the coding line changes, so pass modes abound.
Bitmap pass_pattern(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        if (y % 2 == 0)
            for (int x = (y / 2) % 5; x < w; x += 9) b.fill(x, x + 2, y);
        else if (y % 4 == 1)
            for (int x = 40; x < w; x += 97) b.fill(x, x + 1, y);
    }
    return b;
}

Bitmap noise(int w, int h, double black, unsigned seed) {
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    std::bernoulli_distribution px(black);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (px(rng)) b.set(x, y);
    return b;
}

// Alternating pixels: a change at every position, the most a line holds.
Bitmap checkerboard(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = (y & 1); x < w; x += 2) b.set(x, y);
    return b;
}

struct Picture {
    std::string name;
    Bitmap bitmap;
};

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> all = [] {
        std::vector<Picture> p;
        p.push_back({"white_1728", all_white(1728, 20)});
        p.push_back({"white_1x3", all_white(1, 3)});
        p.push_back({"black_1728", all_black(1728, 20)});
        p.push_back({"black_13", all_black(13, 5)});
        p.push_back({"edges_1616", edge_lines(1616, 40)});
        p.push_back({"edges_9", edge_lines(9, 12)});
        p.push_back({"long_runs_5000", long_runs(5000, 60)});
        p.push_back({"long_runs_max", long_runs(pxall::kFaxMaxWidth, 30)});
        p.push_back({"every_run", every_run(pxall::kFaxMaxWidth, 2800)});
        p.push_back({"slanted_800", slanted_edges(800, 300)});
        p.push_back({"slanted_77", slanted_edges(77, 200)});
        p.push_back({"pass_1000", pass_pattern(1000, 80)});
        p.push_back({"noise_half", noise(333, 90, 0.5, 1)});
        p.push_back({"noise_sparse", noise(1024, 120, 0.03, 2)});
        p.push_back({"noise_dense", noise(517, 50, 0.9, 3)});
        p.push_back({"checker_max", checkerboard(pxall::kFaxMaxWidth, 6)});
        p.push_back({"drawing_640", line_drawing(640, 480, 4)});
        p.push_back({"largest_1616x1158", line_drawing(1616, 1158, 5)});
        for (Picture& q : p) q.bitmap.clear_padding();
        return p;
    }();
    return all;
}

struct Coding {
    const char* name;
    FaxCoding coding;
    int k;
};

const Coding kCodings[] = {
    {"g4", FaxCoding::kGroup4, 0},
    {"g3k4", FaxCoding::kGroup3TwoD, 4},
    {"g3k2", FaxCoding::kGroup3TwoD, 2},
};

// Each picture, coded by libtiff in each coding, decodes to the pixels that
// libtiff's own decoder gives for the same bytes, however input and output
// are cut up.
TEST(FaxDecode, MatchesLibtiffOnTheSameBytes) {
    for (const Picture& p : pictures()) {
        const Bitmap& pic = p.bitmap;
        int32_t row = pic.row_bytes();
        for (const Coding& c : kCodings) {
            SCOPED_TRACE(p.name + " " + c.name);
            std::vector<uint8_t> coded = pxtest::fax_encode(pic, c.coding, c.k);
            Bitmap ref;
            ASSERT_TRUE(pxtest::fax_decode_reference(coded, pic.width, pic.height, c.coding, &ref));
            ASSERT_EQ(ref.bits, pic.bits) << "libtiff does not give the picture back";

            struct Cut {
                size_t chunk;
                int32_t space;
            } cuts[] = {
                {0, 7168},                                              // whole input, the image code's space
                {1, std::max(row - 1, 1)},                              // a byte per call, less than a row
                {2048, static_cast<int32_t>(pic.bits.size()) + 100},    // more than the picture
                {3, 1},                                                 // one byte of output per call
            };
            for (const Cut& cut : cuts) {
                SCOPED_TRACE("chunk " + std::to_string(cut.chunk) + " space " + std::to_string(cut.space));
                Outcome o = run_decoder(coded, pic.width, cut.chunk, cut.space);
                ASSERT_EQ(o.result, 0);
                ASSERT_EQ(o.status, pxall::kFaxEndOfImage);
                EXPECT_FALSE(o.bad_report);
                ASSERT_EQ(o.rows.size(), ref.bits.size());
                EXPECT_TRUE(o.rows == ref.bits);
            }
        }
    }
}

// Reported counts: a full space at output ready, the rest at the end; rows
// continue across spaces and across need-input calls.
TEST(FaxDecode, RowsContinueAcrossSpacesAndInputChunks) {
    Bitmap pic = line_drawing(24, 7, 9);  // 3 bytes a row, 21 bytes
    std::vector<uint8_t> coded = pxtest::fax_encode(pic, FaxCoding::kGroup4);
    uint16_t w = 24, status;
    int32_t count = 0;
    ASSERT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), 0);
    EXPECT_EQ(status, pxall::kFaxInitialised);

    std::vector<uint8_t> out(8), got;
    std::vector<int32_t> reports;
    size_t at = 0;
    std::vector<uint8_t> in(coded.begin(), coded.begin() + 2);
    at = 2;
    for (int calls = 0; calls < 200; ++calls) {
        count = 8;
        ASSERT_EQ(fax_decode(pxall::kFaxDecode, &w, in.data(), static_cast<int32_t>(in.size()), out.data(), &count,
                             &status),
                  0);
        if (status == pxall::kFaxNeedInput) {
            ASSERT_EQ(count, 0);
            ASSERT_LT(at, coded.size());
            size_t n = std::min<size_t>(2, coded.size() - at);
            in.assign(coded.begin() + static_cast<long>(at), coded.begin() + static_cast<long>(at + n));
            at += n;
            continue;
        }
        reports.push_back(count);
        got.insert(got.end(), out.begin(), out.begin() + count);
        if (status == pxall::kFaxEndOfImage) break;
        ASSERT_EQ(status, pxall::kFaxOutputReady);
    }
    EXPECT_EQ(reports, (std::vector<int32_t>{8, 8, 5}));
    EXPECT_EQ(got, pic.bits);
}

TEST(FaxDecode, EmptyInputAsksForInputAndWritesNothing) {
    uint16_t w = 16, status;
    int32_t count = 0;
    ASSERT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), 0);
    std::vector<uint8_t> out(4, 0xAA);
    uint8_t in[1] = {0x80};
    count = 4;
    EXPECT_EQ(fax_decode(pxall::kFaxDecode, &w, in, 0, out.data(), &count, &status), 0);
    EXPECT_EQ(status, pxall::kFaxNeedInput);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(out, std::vector<uint8_t>(4, 0xAA));
    fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
}

// Writes codes given as strings of '0' and '1', most significant bit first.
std::vector<uint8_t> bits(const std::vector<std::string>& codes) {
    std::vector<uint8_t> out;
    int fill = 0;
    for (const std::string& code : codes)
        for (char c : code) {
            if (fill == 0) out.push_back(0);
            if (c == '1') out.back() |= static_cast<uint8_t>(0x80 >> fill);
            fill = (fill + 1) & 7;
        }
    return out;
}

const std::string kEol = "000000000001";
const std::string kH = "001", kV0 = "1", kVR1 = "011", kVL3 = "0000010";
// A few run codes.
const std::string kW0 = "00110101", kW2 = "0111", kW4 = "1011", kW10 = "00111", kW14 = "110100", kW16 = "101010";
const std::string kW64 = "11011";
const std::string kB0 = "0000110111", kB1 = "010", kB2 = "11", kB4 = "011", kB10 = "0000100";

TEST(FaxDecode, HandCodedPicture) {
    // Width 16: a two-dimensional first line without end-of-line code, a
    // one-dimensional line, a two-dimensional line after an end-of-line code,
    // then the end of the picture.
    std::vector<uint8_t> coded = bits({
        kH, kW4, kB4, kV0,                // ....XXXX........ (V0: b1 is the width)
        kEol, "1", kW2, kB10, kW4,        // ..XXXXXXXXXX....
        kEol, "0", kVR1, kVL3, kV0,       // ...XXXXXX....... (VR1 from b1 2, VL3 from b1 12)
        kEol, "0", kEol, "0", "00000000"  // the end
    });
    Outcome o = run_decoder(coded, 16, 0, 7168);
    ASSERT_EQ(o.status, pxall::kFaxEndOfImage);
    EXPECT_EQ(o.rows, (std::vector<uint8_t>{0x0F, 0x00, 0x3F, 0xF0, 0x1F, 0x80}));
}

// Damaged streams end with the error status and a free decoder, whole and
// byte by byte.
TEST(FaxDecode, DamagedStreamsGiveTheirError) {
    std::string zero_runs;
    for (int i = 0; i < 3000; ++i) zero_runs += kH + kW0 + kB0;
    struct Case {
        const char* what;
        int width;
        std::vector<std::string> codes;
        uint16_t status;
    } cases[] = {
        {"vertical mode past the width", 8, {kVR1}, pxall::kFaxLineTooLong},
        {"vertical mode left of a0", 16, {kH, kW14, kB1, kVL3}, pxall::kFaxBadCode},
        {"horizontal run past the width", 16, {kH, kW16, kB1}, pxall::kFaxLineTooLong},
        {"make-up past the width", 16, {kH, kW64, kW0}, pxall::kFaxLineTooLong},
        {"end of line inside a 2-D line", 16, {kH, kW4, kB4, kEol, "1", kW16, kEol}, pxall::kFaxLineTooShort},
        {"end of line inside a horizontal mode", 16, {kH, kW4, kEol}, pxall::kFaxLineTooShort},
        {"extension code", 16, {"0000001", "111"}, pxall::kFaxBadCode},
        {"1-D line too short", 16, {kEol, "1", kW4, kB4, kEol}, pxall::kFaxLineTooShort},
        {"1-D line too long", 16, {kEol, "1", kW10, kB10, kEol}, pxall::kFaxLineTooLong},
        {"make-up without terminating code", 128, {kEol, "1", kW64, kEol}, pxall::kFaxBadCode},
        {"zero-length runs beyond the line buffer", 8, {zero_runs}, pxall::kFaxLineTooLong},
    };
    Bitmap good = line_drawing(64, 16, 11);
    std::vector<uint8_t> good_coded = pxtest::fax_encode(good, FaxCoding::kGroup4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> codes = c.codes;
        codes.push_back("1111111111111111");  // would-be continuation, never reached
        std::vector<uint8_t> coded = bits(codes);
        for (size_t chunk : {size_t{0}, size_t{1}}) {
            Outcome o = run_decoder(coded, c.width, chunk, 7168);
            EXPECT_EQ(o.result, -1);
            EXPECT_EQ(o.status, c.status);
            // The next picture decodes.
            Outcome next = run_decoder(good_coded, good.width, 0, 7168);
            ASSERT_EQ(next.status, pxall::kFaxEndOfImage);
            EXPECT_EQ(next.rows, good.bits);
        }
    }
}

TEST(FaxDecode, SecondInitialisationIsAProgramError) {
    Bitmap pic = line_drawing(100, 30, 12);
    pic.clear_padding();
    std::vector<uint8_t> coded = pxtest::fax_encode(pic, FaxCoding::kGroup4);
    uint16_t w = 100, status;
    int32_t count = 0;
    ASSERT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), 0);
    testing::internal::CaptureStderr();
    uint16_t w2 = 50;
    EXPECT_EQ(fax_decode(pxall::kFaxInit, &w2, nullptr, 0, nullptr, &count, &status), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "PROGRAM ERROR (decode_init)\n");
    EXPECT_EQ(status, pxall::kFaxProgramError);

    // The picture under way is untouched.
    std::vector<uint8_t> out(pic.bits.size() + 10);
    count = static_cast<int32_t>(out.size());
    ASSERT_EQ(fax_decode(pxall::kFaxDecode, &w, coded.data(), static_cast<int32_t>(coded.size()), out.data(),
                         &count, &status),
              0);
    EXPECT_EQ(status, pxall::kFaxEndOfImage);
    EXPECT_EQ(w, 100);
    out.resize(static_cast<size_t>(count));
    EXPECT_EQ(out, pic.bits);
}

TEST(FaxDecode, CallsOutOfTurnAndBadArguments) {
    uint16_t w = 16, status = 0;
    int32_t count = 4;
    uint8_t in[2] = {0x80, 0x80}, out[4];
    // Decoding with no picture under way.
    EXPECT_EQ(fax_decode(pxall::kFaxDecode, &w, in, 2, out, &count, &status), -1);
    EXPECT_EQ(status, pxall::kFaxProgramError);
    // Widths the line buffers cannot hold, or none.
    for (uint16_t bad : {uint16_t{0}, static_cast<uint16_t>(pxall::kFaxMaxWidth + 1), uint16_t{65535}}) {
        w = bad;
        EXPECT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), -1);
        EXPECT_TRUE(pxall::fax_status_is_error(status)) << bad;
    }
    // An output space of no bytes.
    w = 16;
    ASSERT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), 0);
    count = 0;
    EXPECT_EQ(fax_decode(pxall::kFaxDecode, &w, in, 2, out, &count, &status), -1);
    EXPECT_EQ(status, pxall::kFaxProgramError);
    // A caller that gives up mid-picture releases it.
    ASSERT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), 0);
    count = 4;
    EXPECT_EQ(fax_decode(pxall::kFaxDecode, &w, in, 1, out, &count, &status), 0);
    EXPECT_EQ(fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), 0);
    fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
}

// A stream cut anywhere, or missing its end code, asks for more input and
// never errs, loops or reads past its chunks.
TEST(FaxDecode, TruncatedStreamsAskForInput) {
    Bitmap pic = line_drawing(200, 60, 13);
    for (const Coding& c : kCodings) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> coded = pxtest::fax_encode(pic, c.coding, c.k);
        size_t end_code = c.coding == FaxCoding::kGroup4 ? 3 : 10;  // EOFB; RTC
        for (size_t len = 0; len + end_code < coded.size(); len += 1 + len / 8) {
            std::vector<uint8_t> cut(coded.begin(), coded.begin() + static_cast<long>(len));
            for (size_t chunk : {size_t{0}, size_t{1}}) {
                Outcome o = run_decoder(cut, pic.width, chunk, 100);
                EXPECT_EQ(o.result, 0) << len;
                EXPECT_EQ(o.status, pxall::kFaxNeedInput) << len;
                EXPECT_FALSE(o.bad_report);
                EXPECT_TRUE(std::equal(o.rows.begin(), o.rows.end(), pic.bits.begin())) << len;
            }
        }
    }
}

// Random bytes and damaged pictures, under the sanitizers: every run ends
// (end, error or want of input), reports only whole spaces, and the decoder
// is free again afterwards.
TEST(FaxDecode, RandomAndDamagedInputsStaySafe) {
    std::mt19937 rng(20240611);
    std::vector<std::vector<uint8_t>> seeds;
    for (const Coding& c : kCodings) {
        seeds.push_back(pxtest::fax_encode(line_drawing(300, 40, 14), c.coding, c.k));
        seeds.push_back(pxtest::fax_encode(noise(97, 30, 0.3, 15), c.coding, c.k));
    }
    int widths[] = {300, 97, 1, 8, 301, pxall::kFaxMaxWidth};
    for (int round = 0; round < 600; ++round) {
        std::vector<uint8_t> data;
        int width = widths[rng() % 6];
        if (round % 3 == 0) {
            data.resize(rng() % 600);
            for (uint8_t& b : data) b = static_cast<uint8_t>(rng() % 4 ? rng() : 0);
            if (round % 2) width = 1 + static_cast<int>(rng() % pxall::kFaxMaxWidth);
        } else {
            data = seeds[rng() % seeds.size()];
            int flips = 1 + static_cast<int>(rng() % 8);
            for (int i = 0; i < flips; ++i) data[rng() % data.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
            if (round % 5 == 0) data.resize(rng() % data.size());
        }
        size_t chunk = std::vector<size_t>{0, 1, 7, 2048}[rng() % 4];
        int32_t space = std::vector<int32_t>{1, 5, 37, 7168}[rng() % 4];
        Outcome o = run_decoder(data, width, chunk, space);
        EXPECT_FALSE(o.bad_report) << round;
        if (o.result == 0)
            EXPECT_TRUE(o.status == pxall::kFaxEndOfImage || o.status == pxall::kFaxNeedInput) << round;
        else
            EXPECT_TRUE(pxall::fax_status_is_error(o.status)) << round << " " << o.status;
        uint16_t w = 8, status;
        int32_t count;
        ASSERT_EQ(fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, &count, &status), 0) << round;
        fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
    }
}

}  // namespace
