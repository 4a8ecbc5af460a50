#include "prices/price_inquiry_record.h"

#include "prices/fields.h"

namespace px {

DprcLine parse_dprc_record(std::string_view rec) {
    namespace r = dprc_rec;
    auto f = [&](size_t at, size_t n) { return prices::shown(prices::field(rec, at, n)); };
    return {f(r::kNumber, r::kNumberSize), f(r::kPartNo, r::kPartNoSize), f(r::kPrice, r::kPriceSize),
            f(r::kField, r::kFieldSize), f(r::kName, r::kNameSize)};
}

}  // namespace px
