// The group-print helper over the common library: the paths come from the
// library's own path builder and file names, the part names from its part-name
// lookup, so the print reads exactly the files the group screens write.
#include <cstring>

#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/group_layout.h"
#include "pxall/paths.h"
#include "pxstgp/pxstgp.h"

namespace {

constexpr const char* kModule = "PXSTGP";

bool blank(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] != ' ' && p[i] != '\0') return false;
    return true;
}

// The full path of a file of the master directory into `out`.
int32_t master_path(const char* file, char* out) {
    char path[pxall::kPathSize] = {};
    std::strncpy(path, file, sizeof path - 1);
    int rc = pxall::get_path_name(pxall::kPathMaster, -1, path);
    if (rc != 0) {
        out[0] = '\0';
        return rc;
    }
    std::strncpy(out, path, pxstgp::kPathBufferSize - 1);
    out[pxstgp::kPathBufferSize - 1] = '\0';
    return 0;
}

}  // namespace

extern "C" {

int32_t VBGet_GrpFName(char* name_file, char* code_file) {
    if (name_file == nullptr || code_file == nullptr) return -1;
    int32_t rc = master_path(pxall::grpfile::kNameFile, name_file);
    int32_t rc2 = master_path(pxall::grpfile::kCodeFile, code_file);
    if (rc == 0) rc = rc2;
    if (rc != 0) pxall::syerr_message(kModule, "VBGet_GrpFName", "get_path_name", rc, 0, 1);
    return rc;
}

int16_t VBCheckNull(const char* code) {
    if (code == nullptr) return 1;
    return blank(code, static_cast<int>(strnlen(code, pxall::grpfile::kCodeLen))) ? 1 : 0;
}

int16_t VBGetPncmei(const char* pnc, char* name, int32_t* flag) {
    if (pnc == nullptr || name == nullptr || flag == nullptr) return -1;
    char key[pxstgp::kPncLen];
    std::memset(key, ' ', sizeof key);
    std::memcpy(key, pnc, strnlen(pnc, sizeof key));
    std::memset(name, ' ', pxstgp::kNameLen);
    if (blank(key, pxstgp::kPncLen)) {
        *flag = 1;
        return 0;
    }
    char found_name[pxstgp::kNameLen];
    std::memset(found_name, ' ', sizeof found_name);
    int16_t found = 1;  // the first installed data set of the current area
    int rc = pxall::get_hinmei(key, found_name, &found);
    if (rc != 0) {
        pxall::syerr_message(kModule, "VBGetPncmei", "get_hinmei", rc, 0, 1);
        return static_cast<int16_t>(rc);
    }
    if (found == 0) std::memcpy(name, found_name, sizeof found_name);
    *flag = 0;
    return 0;
}

}
