// The program's fixed-length string as the library entries receive it: the
// bytes and their count. An entry writes at most `len` bytes into `data` and
// never reads past them.
#pragma once

#include <cstdint>

extern "C" {

typedef struct VbString {
    char* data;
    int32_t len;
} VbString;

}
