#include "pxbuild/image_writer.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "pxall/image_layout.h"

namespace pxbuild {

namespace L = pxall::image;

Picture::Picture(int width, int height)
    : width_(width), height_(height), bits_(static_cast<size_t>((width + 7) / 8) * std::max(height, 0)) {
    if (width < 1 || height < 1) throw BuildError("a picture needs a width and a height");
}

bool Picture::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return (bits_[static_cast<size_t>(y) * row_bytes() + x / 8] >> (7 - x % 8)) & 1;
}

void Picture::set(int x, int y, bool black) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t& b = bits_[static_cast<size_t>(y) * row_bytes() + x / 8];
    uint8_t m = static_cast<uint8_t>(0x80 >> (x % 8));
    b = black ? (b | m) : (b & ~m);
}

namespace {

// A TIFF file in memory for libtiff's client interface.
struct Stream {
    Bytes data;
    size_t pos = 0;
};

tmsize_t mem_read(thandle_t h, void* buf, tmsize_t size) {
    auto* s = static_cast<Stream*>(h);
    size_t n = std::min(static_cast<size_t>(size), s->data.size() - std::min(s->pos, s->data.size()));
    if (n > 0) std::memcpy(buf, s->data.data() + s->pos, n);
    s->pos += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t mem_write(thandle_t h, void* buf, tmsize_t size) {
    auto* s = static_cast<Stream*>(h);
    size_t end = s->pos + static_cast<size_t>(size);
    if (end > s->data.size()) s->data.resize(end);
    std::memcpy(s->data.data() + s->pos, buf, static_cast<size_t>(size));
    s->pos = end;
    return size;
}

toff_t mem_seek(thandle_t h, toff_t off, int whence) {
    auto* s = static_cast<Stream*>(h);
    if (whence == SEEK_SET) s->pos = off;
    else if (whence == SEEK_CUR) s->pos += off;
    else s->pos = s->data.size() + off;
    return s->pos;
}

int mem_close(thandle_t) { return 0; }
toff_t mem_size(thandle_t h) { return static_cast<Stream*>(h)->data.size(); }
int mem_map(thandle_t, void**, toff_t*) { return 0; }
void mem_unmap(thandle_t, void*, toff_t) {}

TIFF* open_mem(Stream* s, const char* mode) {
    TIFFSetWarningHandler(nullptr);
    return TIFFClientOpen("memory", mode, s, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map, mem_unmap);
}

void put_be(uint8_t* p, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i, v >>= 8) p[i] = v & 0xff;
}

void put_text(uint8_t* p, const std::string& s, size_t width, const char* what) {
    if (s.size() > width) throw BuildError(std::string(what) + " \"" + s + "\" is too long");
    std::memset(p, ' ', width);
    std::memcpy(p, s.data(), s.size());
}

}  // namespace

Bytes fax_code(const Picture& picture, FaxCoding coding) {
    Stream s;
    TIFF* t = open_mem(&s, "w");
    if (t == nullptr) throw BuildError("libtiff cannot open a memory file");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(picture.width()));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(picture.height()));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);  // bit 1 black, as the fax codes have it
    TIFFSetField(t, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(picture.height()));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (coding == FaxCoding::kGroup4) {
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    } else {
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        TIFFSetField(t, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
        // At fine resolution libtiff codes one line in 4 one-dimensionally.
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(t, TIFFTAG_XRESOLUTION, 204.0);
        TIFFSetField(t, TIFFTAG_YRESOLUTION, 196.0);
    }
    Bytes row(static_cast<size_t>(picture.row_bytes()));
    for (int y = 0; y < picture.height(); ++y) {
        std::memcpy(row.data(), picture.row(y), row.size());
        if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) < 0) {
            TIFFClose(t);
            throw BuildError("libtiff cannot code the picture");
        }
    }
    TIFFClose(t);

    s.pos = 0;
    t = open_mem(&s, "r");
    if (t == nullptr) throw BuildError("libtiff cannot read back its file");
    Bytes coded(static_cast<size_t>(TIFFRawStripSize(t, 0)));
    tmsize_t got = TIFFReadRawStrip(t, 0, coded.data(), static_cast<tmsize_t>(coded.size()));
    TIFFClose(t);
    if (got < 0) throw BuildError("libtiff cannot read its strip");
    coded.resize(static_cast<size_t>(got));
    if (coding == FaxCoding::kGroup3TwoD) {
        // RTC: six end-of-line codes with tag bit 1 (0000 0000 0001 1),
        // from the next byte: 78 bits.
        static const uint8_t kRtc[] = {0x00, 0x18, 0x00, 0xC0, 0x06, 0x00, 0x30, 0x01, 0x80, 0x0C};
        coded.insert(coded.end(), std::begin(kRtc), std::end(kRtc));
    }
    return coded;
}

Bytes stored_image(const StoredImage& image) {
    const size_t text_bytes = image.texts.size() * L::kTextRecordSize;
    if (image.number > 0xFFFFFF || image.width < 0 || image.width > 0xFFFF || image.height < 0 ||
        image.height > 0xFFFF || image.coded.size() > 0xFFFFFF || text_bytes > 0xFFFF)
        throw BuildError("image " + image.id + ": a header field does not fit");
    Bytes b(L::kStoredHeaderSize + image.coded.size() + text_bytes, 0);
    put_be(&b[L::kStNumber], image.number, 3);
    b[L::kStKind] = static_cast<uint8_t>(image.kind);
    put_text(&b[L::kStId], image.id, L::kIdSize, "illustration id");
    put_be(&b[L::kStWidth], static_cast<uint32_t>(image.width), 2);
    put_be(&b[L::kStHeight], static_cast<uint32_t>(image.height), 2);
    b[L::kStCoding] = static_cast<uint8_t>(image.coding);
    put_be(&b[L::kStCodedLength], static_cast<uint32_t>(image.coded.size()), 3);
    put_be(&b[L::kStTextLength], static_cast<uint32_t>(text_bytes), 2);
    std::copy(image.coded.begin(), image.coded.end(), b.begin() + L::kStoredHeaderSize);
    uint8_t* r = b.data() + L::kStoredHeaderSize + image.coded.size();
    for (const auto& t : image.texts) {
        for (auto [at, v] : {std::pair{L::kTrLeft, t.left}, {L::kTrTop, t.top}, {L::kTrRight, t.right},
                             {L::kTrBottom, t.bottom}}) {
            if (v < -32768 || v > 32767) throw BuildError("image " + image.id + ": a text rectangle is out of range");
            put_be(r + at, static_cast<uint16_t>(v), 2);
        }
        r[L::kTrAttribute] = static_cast<uint8_t>(t.attribute);
        r[L::kTrValue] = t.value;
        put_text(r + L::kTrText, t.text, L::kTextSize, "text");
        r += L::kTextRecordSize;
    }
    b.resize((b.size() + L::kBlockSize - 1) / L::kBlockSize * L::kBlockSize, 0);
    return b;
}

std::string ImageFile::add(const StoredImage& image) {
    Bytes b = stored_image(image);
    size_t first = data_.size() / L::kBlockSize;
    size_t count = b.size() / L::kBlockSize;
    if (first > 999999 || count > 999) throw BuildError("image " + image.id + " does not fit a locator");
    data_.insert(data_.end(), b.begin(), b.end());
    char loc[16];
    std::snprintf(loc, sizeof loc, "%06zu%03zu", first, count);
    return loc;
}

}  // namespace pxbuild
