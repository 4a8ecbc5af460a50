// A file written while its bytes are still being made (stup_internal.h).
#include <fcntl.h>

#include <cerrno>
#include <cstdio>

#include "platform/files.h"
#include "stup_internal.h"

namespace pxstup {

PieceWriter::~PieceWriter() {
    if (fp_ != nullptr) std::fclose(fp_);
}

bool PieceWriter::write_to(const char* bytes, size_t end) {
    if (error_ == 0 && end < written_) error_ = EINVAL;
    if (error_ == 0 && fp_ == nullptr) {
        // Whole pieces: each goes to the file in one call, no buffer between.
        if ((fp_ = plat::fopen(path_, "wb")) != nullptr) std::setvbuf(fp_, nullptr, _IONBF, 0);
        else error_ = errno != 0 ? errno : EIO;
    }
    if (error_ != 0) return false;
    const size_t n = end - written_;
    if (!put_bytes(fp_, path_, bytes + written_, n) || std::fflush(fp_) != 0) {
        error_ = errno != 0 ? errno : EIO;
        return false;
    }
    // Only started here: the commit's flush waits for it.
    ::sync_file_range(::fileno(fp_), static_cast<off_t>(written_), static_cast<off_t>(n), SYNC_FILE_RANGE_WRITE);
    written_ = end;
    return true;
}

int PieceWriter::finish(const char* bytes, size_t n) {
    write_to(bytes, n);
    if (fp_ != nullptr && std::fclose(fp_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
    fp_ = nullptr;
    return error_;
}

}  // namespace pxstup
