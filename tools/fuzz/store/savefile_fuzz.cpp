// Fuzz target: the saved lists (parts: the save master, the save data files
// of numbers 1, 2 and 3) read through the common library and listed by the
// saved-list library, as the saved-list screen lists them.
#include <cstdint>
#include <cstdio>

#include "fsav/fsav.h"
#include "fuzz_place.h"
#include "pxall/savefile.h"
#include "pxall/vbstring.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 4);
    place.reset();
    place.put("MST/PXIFSMST.SAV", in.parts[0]);
    const char* names[3] = {"MST/PXIF0001.SAV", "MST/PXIF0002.SAV", "MST/PXIF0003.SAV"};
    for (int i = 0; i < 3; ++i) {
        // An empty part stands for a list without its file.
        if (in.parts[i + 1].size > 0)
            place.put(names[i], in.parts[i + 1]);
        else
            place.remove(names[i]);
    }
    int32_t count = 0, err = 0;
    pxall::check_save_dat_file_exist(&count, &err);
    char buf[100];
    VbString path{buf, 90};
    fsav_exec_main(&path);
    for (int16_t no : {1, 2, 3, 9999}) {
        fsav_check_saveFileflag(no, 0);
        std::FILE* fp = nullptr;
        if (pxall::open_save_dat_file(no, pxall::kSaveUpdateInPlace, pxall::kSaveRead, &fp, &err) != 0) continue;
        unsigned char rec[128];
        for (int i = 0; i < 200 && pxall::read_save_dat_file(fp, rec, (i == 0) ? 99 : 14, &err) == 0; ++i) {
        }
        pxall::close_save_dat_file(&fp, &err);
    }
    return 0;
}
