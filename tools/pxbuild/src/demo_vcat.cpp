#include "pxbuild/demo_vcat.h"

#include "pxall/part_records.h"
#include "pxbuild/bytes.h"

namespace pxbuild {

std::string car_name_record(const CarName& c) {
    namespace sr = pxall::shamei_rec;
    return Record(sr::kSize)
        .text(sr::kPrefix, sr::kPrefixSize, c.prefix)
        .text(sr::kCarName, sr::kCarNameSize, c.car_name)
        .text(sr::kCatalog, pxall::kCatalogSize, c.code)
        .text(sr::kDescription, sr::kDescriptionSize, c.description)
        .text(sr::kFrom, pxall::kDateSize, c.date_from)
        .text(sr::kTo, pxall::kDateSize, c.date_to)
        .text(sr::kCdNo, sr::kCdNoSize, c.cd_no)
        .text(sr::kField, sr::kFieldSize, c.field)
        .text(sr::kBrand, 1, c.brand);
}

}  // namespace pxbuild
