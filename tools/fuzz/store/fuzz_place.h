// The scratch installation of a stored-file fuzz target: drive C: on the
// target's scratch folder (in memory where it can be, so that a run costs no
// disk; scratch_dir.h), the shared area with the work, master, program
// and price folders, and the input's parts written as the files a reader
// opens. Everything a run changes in the shared area is set again for the
// next one.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "../scratch_dir.h"
#include "platform/drives.h"
#include "pxall/blocks.h"

namespace pxfuzz {

class Place {
public:
    Place() : scratch_("pxstorefuzz"), root_(scratch_.path().string()) {
        namespace fs = std::filesystem;
        for (const char* d : {"WORK", "MST", "MST/E1", "PROG"}) fs::create_directories(root_ + "/" + d);
        // The error log goes into the scratch folder, and is dropped each run.
        ::setenv("TMP", "C:\\", 1);
        pxall::set_table();
        reset();
    }
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;

    // The drive and the shared area's folders as a run expects them.
    void reset() const {
        plat::set_drive('C', root_, plat::kDriveFixed);
        ::unlink(host("PXERROR.LOG").c_str());
        unsigned char* top = pxall::get_ctop_addr();
        dir(top, pxall::ctop::kWorkDir, "C:\\WORK");
        dir(top, pxall::ctop::kMasterDir, "C:\\MST");
        dir(top, pxall::ctop::kProgramDir, "C:\\PROG");
        dir(top, pxall::ctop::kPriceDir, "C:\\MST");
        dir(top, pxall::ctop::kLocalPriceDir, "C:\\MST");
        std::memcpy(top + pxall::ctop::kMenuLangCode, "01", 2);
    }
    const std::string& root() const { return root_; }
    std::string host(const std::string& rel) const { return root_ + "/" + rel; }
    // Writes a part as the file rel (a folder under C:).
    // The file is overwritten in place and then cut to its size, so that the
    // memory file system keeps its pages from one run to the next instead of
    // freeing and clearing them again (the most of a run's time for large
    // files such as the group files).
    void put(const std::string& rel, const Part& p) const {
        int fd = ::open(host(rel).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return;
        size_t done = 0;
        while (done < p.size) {
            ssize_t n = ::pwrite(fd, p.data + done, p.size - done, static_cast<off_t>(done));
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        if (::ftruncate(fd, static_cast<off_t>(done)) != 0) done = 0;
        ::close(fd);
    }
    void remove(const std::string& rel) const { ::unlink(host(rel).c_str()); }

private:
    static void dir(unsigned char* top, size_t at, const char* d) {
        std::memset(top + at, 0, pxall::ctop::kDirSize);
        std::memcpy(top + at, d, std::strlen(d));
    }
    ScratchDir scratch_;
    std::string root_;
};

}  // namespace pxfuzz
