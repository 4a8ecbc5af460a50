// The vehicle pop-up file VCLINF.TMP of the work directory (layout in
// vehicle_work_layout.h): the record-file operations on a caller's context,
// and the builder that fills the file from the special features (TOKUME.DAT)
// and symbols (KIGOUU.DAT) of the vehicle's catalogue.
//
// A failed open, seek, read or write is logged (module "PXSUBV31", the
// operation, the step "open2", "lseek", "read" or "write", the descriptor and
// the byte count), the file is closed, and the operation ends with the result
// of the context's error routine (-1 without one).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/keyed_file.h"
#include "pxall/vbstring.h"

namespace pxall {

// The caller's context of the record-file operations.
struct VinftContext {
    CdHandle* cat1;        // TOKUME.DAT while the builder reads it
    CdHandle* cat2;        // KIGOUU.DAT
    int32_t setup_entry;   // set-up entry of the catalogue's data set
    int (*on_error)(VinftContext* ctx);
    int32_t oflags;        // open(2) flags
    int32_t pmode;         // permission, used when oflags create
    int32_t fd;            // -1 when closed
};

// Opens VCLINF.TMP with the context's flags; the descriptor (kept in the
// context), or the error routine's result.
PX_EXPORT int init_VINFT(VinftContext* ctx);
// The 133-byte header at offset 0: 133, or the error routine's result.
PX_EXPORT int get_hdr_VINFT(VinftContext* ctx, void* buf);
PX_EXPORT int put_hdr_VINFT(VinftContext* ctx, const void* buf);
// Record n (0-249) at 133 + 32 n: 32, or the error routine's result; a
// record number outside the file's 250 fails as a seek would.
PX_EXPORT int get_rec_VINFT(VinftContext* ctx, int n, void* buf);
PX_EXPORT int put_rec_VINFT(VinftContext* ctx, int n, const void* buf);
// Closes the descriptor when it is open and sets it to -1.
PX_EXPORT void term_VINFT(VinftContext* ctx);
// 0 when VCLINF.TMP exists, -1 otherwise.
PX_EXPORT int chk_ext_VINFT();
// 0, or -1 when the file cannot be deleted (also when it is missing).
PX_EXPORT int v_pop_del_vclinftmp();

// Builds VCLINF.TMP for the catalogue of header bytes 17-22 in the data set
// of ctx->setup_entry. A blank at byte 17 gives the header and 250 zero
// records. Otherwise every feature of the data language becomes a heading
// record, followed by its symbols with their texts in 19-character pieces;
// the record count goes into header bytes 100-103 (the caller's buffer too)
// and the header is written last. More than 250 records, or a catalogue file
// that fails, end the build with -1 (logged, module "PXSUBV30"); 0 when done.
// The context's handles, flags and error routine are the builder's.
PX_EXPORT int v_pop_make_vclinf_tmp(VinftContext* ctx, unsigned char* header);

}  // namespace pxall

extern "C" {
// The full path of VCLINF.TMP into the program's 80-byte string (at most its
// length): the result of get_path_name; on failure the string is unchanged.
PX_EXPORT int32_t vinf_get_path(VbString* str);
}
