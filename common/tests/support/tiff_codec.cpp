#include "support/tiff_codec.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pxtest {

void Bitmap::set(int x, int y, bool black) {
    uint8_t& b = bits[static_cast<size_t>(y) * row_bytes() + x / 8];
    uint8_t m = static_cast<uint8_t>(0x80 >> (x % 8));
    b = black ? (b | m) : (b & ~m);
}

void Bitmap::fill(int x0, int x1, int y, bool black) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width);
    for (int x = x0; x < x1; ++x) set(x, y, black);
}

void Bitmap::clear_padding() {
    if (width % 8 == 0) return;
    uint8_t keep = static_cast<uint8_t>(0xFF << (8 - width % 8));
    for (int y = 0; y < height; ++y) row(y)[row_bytes() - 1] &= keep;
}

namespace {

// A TIFF file in memory for TIFFClientOpen.
struct Stream {
    std::vector<uint8_t> file;
    std::vector<uint8_t>* data = &file;
    size_t pos = 0;
};

tmsize_t mem_read(thandle_t h, void* buf, tmsize_t size) {
    auto* s = static_cast<Stream*>(h);
    size_t n = std::min(static_cast<size_t>(size), s->data->size() - std::min(s->pos, s->data->size()));
    if (n > 0) std::memcpy(buf, s->data->data() + s->pos, n);
    s->pos += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t mem_write(thandle_t h, void* buf, tmsize_t size) {
    auto* s = static_cast<Stream*>(h);
    size_t end = s->pos + static_cast<size_t>(size);
    if (end > s->data->size()) s->data->resize(end);
    std::memcpy(s->data->data() + s->pos, buf, static_cast<size_t>(size));
    s->pos = end;
    return size;
}

toff_t mem_seek(thandle_t h, toff_t off, int whence) {
    auto* s = static_cast<Stream*>(h);
    if (whence == SEEK_SET) s->pos = off;
    else if (whence == SEEK_CUR) s->pos += off;
    else s->pos = s->data->size() + off;
    return s->pos;
}

int mem_close(thandle_t) { return 0; }
toff_t mem_size(thandle_t h) { return static_cast<Stream*>(h)->data->size(); }

int mem_map(thandle_t h, void** base, toff_t* size) {
    auto* s = static_cast<Stream*>(h);
    *base = s->data->data();
    *size = s->data->size();
    return 1;
}

void mem_unmap(thandle_t, void*, toff_t) {}

TIFF* open_mem(Stream* s, const char* mode) {
    // libtiff's warnings (unknown tags and the like) are noise here.
    TIFFSetWarningHandler(nullptr);
    return TIFFClientOpen("memory", mode, s, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map,
                          mem_unmap);
}

void set_fax_fields(TIFF* t, int width, int height, FaxCoding coding, int k_factor) {
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);  // bit 1 = black, as fax codes it
    TIFFSetField(t, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(height));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (coding == FaxCoding::kGroup4) {
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    } else {
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        TIFFSetField(t, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
        // libtiff codes one line in 4 one-dimensionally above 150 lines per
        // inch, one in 2 below.
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(t, TIFFTAG_XRESOLUTION, 204.0);
        TIFFSetField(t, TIFFTAG_YRESOLUTION, k_factor == 2 ? 98.0 : 196.0);
    }
}

// Appends bits, most significant first.
class BitPacker {
public:
    explicit BitPacker(std::vector<uint8_t>* out) : out_(out) {}
    void put(uint32_t code, int len) {
        for (int i = len - 1; i >= 0; --i) {
            if (fill_ == 0) out_->push_back(0);
            if ((code >> i) & 1) out_->back() |= static_cast<uint8_t>(0x80 >> fill_);
            fill_ = (fill_ + 1) & 7;
        }
    }

private:
    std::vector<uint8_t>* out_;
    int fill_ = 0;
};

}  // namespace

struct ReferenceDecoder::MemFile : Stream {};

std::vector<uint8_t> fax_encode(const Bitmap& picture, FaxCoding coding, int k_factor) {
    Stream s;
    TIFF* t = open_mem(&s, "w");
    if (t == nullptr) throw std::runtime_error("libtiff cannot open a memory file");
    set_fax_fields(t, picture.width, picture.height, coding, k_factor);
    std::vector<uint8_t> row(static_cast<size_t>(picture.row_bytes()));
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(row.data(), picture.bits.data() + static_cast<size_t>(y) * row.size(), row.size());
        if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) < 0) {
            TIFFClose(t);
            throw std::runtime_error("libtiff cannot code the picture");
        }
    }
    TIFFClose(t);

    s.pos = 0;
    t = open_mem(&s, "r");
    if (t == nullptr) throw std::runtime_error("libtiff cannot read back its file");
    std::vector<uint8_t> coded(static_cast<size_t>(TIFFRawStripSize(t, 0)));
    tmsize_t got = TIFFReadRawStrip(t, 0, coded.data(), static_cast<tmsize_t>(coded.size()));
    TIFFClose(t);
    if (got < 0) throw std::runtime_error("libtiff cannot read its strip");
    coded.resize(static_cast<size_t>(got));

    if (coding == FaxCoding::kGroup3TwoD) {
        // RTC: six end-of-line codes with tag bit 1, from the next byte.
        BitPacker bits(&coded);
        for (int i = 0; i < 6; ++i) bits.put(0x3, 13);
    }
    return coded;
}

bool fax_decode_reference(const std::vector<uint8_t>& coded, int width, int height, FaxCoding coding,
                          Bitmap* out) {
    ReferenceDecoder dec(coded, width, height, coding);
    if (!dec.ok()) return false;
    *out = Bitmap(width, height);
    if (!dec.decode_by_lines(out->bits.data())) return false;
    out->clear_padding();
    return true;
}

ReferenceDecoder::ReferenceDecoder(const std::vector<uint8_t>& coded, int width, int height, FaxCoding coding)
    : file_(std::make_unique<MemFile>()), height_(height), row_bytes_((width + 7) / 8) {
    TIFF* t = open_mem(file_.get(), "w");
    if (t == nullptr) return;
    set_fax_fields(t, width, height, coding, 4);
    std::vector<uint8_t> copy = coded;
    tmsize_t wrote = TIFFWriteRawStrip(t, 0, copy.data(), static_cast<tmsize_t>(copy.size()));
    TIFFClose(t);
    if (wrote < 0) return;
    file_->pos = 0;
    tiff_ = open_mem(file_.get(), "r");
}

ReferenceDecoder::~ReferenceDecoder() {
    if (tiff_ != nullptr) TIFFClose(static_cast<TIFF*>(tiff_));
}

bool ReferenceDecoder::decode(uint8_t* out) {
    TIFF* t = static_cast<TIFF*>(tiff_);
    if (t == nullptr) return false;
    tmsize_t size = static_cast<tmsize_t>(row_bytes_) * height_;
    return TIFFReadEncodedStrip(t, 0, out, size) == size;
}

bool ReferenceDecoder::decode_by_lines(uint8_t* out) {
    TIFF* t = static_cast<TIFF*>(tiff_);
    if (t == nullptr) return false;
    for (int y = 0; y < height_; ++y)
        if (TIFFReadScanline(t, out + static_cast<size_t>(y) * row_bytes_, static_cast<uint32_t>(y), 0) < 0)
            return false;
    return true;
}

}  // namespace pxtest
