// The settings fields of the shared state block as they stood before the
// clerk's choices were staged in it, so that a rewrite that leaves the
// environment file as it was also leaves the running program on what the
// file holds. Staging is followed by the rewrite; the rewrite ends what was
// kept, whatever its outcome.
#pragma once

namespace siup {

// Keeps the fields, unless a staging since the last rewrite kept them.
void keep_before_staging(const unsigned char* top);
// The fields as they were kept; nothing when nothing was staged.
void put_back_staged(unsigned char* top);
// The staged values stay: the file now holds them.
void forget_staged();

}  // namespace siup
