#include "pxbuild/demo_vcat.h"

#include "pxbuild/bytes.h"

namespace pxbuild {

std::string car_name_record(const CarName& c) {
    return Record(97)
        .text(0, 3, c.prefix)
        .text(3, 20, c.car_name)
        .text(23, 6, c.code)
        .text(29, 50, c.description)
        .text(79, 4, c.date_from)
        .text(83, 4, c.date_to)
        .text(87, 2, c.cd_no)
        .text(92, 4, c.field)
        .text(96, 1, c.brand);
}

}  // namespace pxbuild
