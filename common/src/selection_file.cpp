#include "selection_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "platform/files.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"
#include "pxall/selection_layout.h"

namespace pxall::selimpl {

namespace {

constexpr int32_t kImage = static_cast<int32_t>(selfile::kImageSize);

// Place offsets of the logged steps.
constexpr int32_t kAtPath = 0, kAtOpen = 1, kAtMalloc = 2, kAtRead = 3, kAtWrite = 4, kAtAdd = 5;

int work_path(const char* name, char* path) {
    std::memset(path, 0, kPathSize);
    std::strncpy(path, name, kPathSize - 1);
    return get_path_name(kPathWork, -1, path);
}

// One read of the whole image. A short read is accepted only at end of file;
// the bytes the file did not hold read as zero.
int fread_image(std::FILE* fp, unsigned char* buf, int32_t* err) {
    size_t got = std::fread(buf, 1, selfile::kImageSize, fp);
    if (got < selfile::kImageSize) {
        if (!std::feof(fp) || std::ferror(fp)) {
            *err = errno != 0 ? errno : EIO;
            return 14;
        }
        std::memset(buf + got, 0, selfile::kImageSize - got);
    }
    return 0;
}

// One write of the whole image; flushed here so that a full disk shows as a
// write failure rather than being lost at close.
int fwrite_image(std::FILE* fp, const unsigned char* buf, int32_t* err) {
    errno = 0;
    if (std::fwrite(buf, 1, selfile::kImageSize, fp) != selfile::kImageSize || std::fflush(fp) != 0) {
        *err = errno != 0 ? errno : EIO;
        return 13;
    }
    return 0;
}

struct FileCloser {
    void operator()(std::FILE* fp) const { std::fclose(fp); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::unique_ptr<unsigned char[]> alloc_image() {
    return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[selfile::kImageSize]());
}

}  // namespace

int read_image(const char* name, unsigned char* buf, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (buf == nullptr) {
        *err = EINVAL;
        return 14;
    }
    char path[kPathSize];
    if (int r = work_path(name, path); r != 0) return r;
    errno = 0;
    File fp(plat::fopen(path, "rb"));
    if (!fp) {
        *err = errno;
        return 11;
    }
    return fread_image(fp.get(), buf, err);
}

int write_image(const char* name, const unsigned char* buf, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (buf == nullptr) {
        *err = EINVAL;
        return 13;
    }
    char path[kPathSize];
    if (int r = work_path(name, path); r != 0) return r;
    errno = 0;
    File fp(plat::fopen(path, "w+b"));
    if (!fp) {
        *err = errno;
        return 11;
    }
    return fwrite_image(fp.get(), buf, err);
}

int write_list(const char* name, const ItemList* list, FillRecord fill, const LogSite& site) {
    auto image = alloc_image();
    if (!image) {
        syerr_message(site.module, site.function, "malloc", 20, kImage, site.place + kAtMalloc);
        return 20;
    }
    // The image holds 1000 records; a longer list (reads append) is cut there.
    int i = 0;
    for (const ItemLinks* it = list->first; it != nullptr && i < selfile::kRecords; it = it->next, ++i)
        fill(image.get() + selfile::kRecordSize * static_cast<size_t>(i), it);

    char path[kPathSize];
    if (int r = work_path(name, path); r != 0) {
        syerr_message(site.module, site.function, "get_path_name", r, 0, site.place + kAtPath);
        return r;
    }
    errno = 0;
    File fp(plat::fopen(path, "w+b"));
    if (!fp) {
        syerr_message(site.module, site.function, "fopen", 11, errno, site.place + kAtOpen);
        return 11;
    }
    int32_t err = 0;
    if (int r = fwrite_image(fp.get(), image.get(), &err); r != 0) {
        syerr_message(site.module, site.function, "fwrite", r, err, site.place + kAtWrite);
        return r;
    }
    return 0;
}

int read_list(const char* name, ItemList* list, AddRecord add, const LogSite& site) {
    char path[kPathSize];
    if (int r = work_path(name, path); r != 0) {
        syerr_message(site.module, site.function, "get_path_name", r, 0, site.place + kAtPath);
        return r;
    }
    errno = 0;
    File fp(plat::fopen(path, "rb"));
    if (!fp) {
        syerr_message(site.module, site.function, "fopen", 11, errno, site.place + kAtOpen);
        return 11;
    }
    auto image = alloc_image();
    if (!image) {
        syerr_message(site.module, site.function, "malloc", 20, kImage, site.place + kAtMalloc);
        return 20;
    }
    int32_t err = 0;
    int r = fread_image(fp.get(), image.get(), &err);
    fp.reset();
    if (r != 0) {
        syerr_message(site.module, site.function, "fread", r, err, site.place + kAtRead);
        return r;
    }
    for (int i = 0; i < selfile::kRecords; ++i) {
        const unsigned char* rec = image.get() + selfile::kRecordSize * static_cast<size_t>(i);
        if (rec[0] == 0) break;
        if (!add(list, rec)) {
            syerr_message(site.module, site.function, "AddItem", 20, 0, site.place + kAtAdd);
            return 20;
        }
    }
    return 0;
}

int clear_image(int (*write)(const unsigned char*, int32_t*), const char* write_step, const LogSite& site) {
    auto image = alloc_image();
    if (!image) {
        syerr_message(site.module, site.function, "malloc", 20, kImage, site.place + kAtMalloc);
        return 20;
    }
    int32_t err = 0;
    int r = write(image.get(), &err);
    if (r != 0) syerr_message(site.module, site.function, write_step, r, err, site.place + kAtWrite);
    return r;
}

}  // namespace pxall::selimpl
