#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <gmpxx.h>

namespace radixel::engine {

// A magnitude as an exact ratio; the denominator is positive.
struct Ratio {
    mpz_class numerator;
    mpz_class denominator = 1;
};

// value * base^places rounded to the nearest integer, a half away from zero.
// Its last `places` digits in `base` are the places after the point and the
// rest the integer part, so a carry out of the places reaches the integer part.
mpz_class roundToPlaces(const Ratio& value, std::uint32_t base, std::size_t places);

// value > 0 as mantissa * base^(exponent - places), where the mantissa has
// exactly places + 1 digits in `base`: the first is the one digit before the
// point. Rounded like roundToPlaces; a mantissa that rounds up to base^(places+1)
// becomes base^places and the exponent goes up by one. When value * base^k is
// an integer (`endsAfter` = k), no more places are computed than the mantissa
// needs, so `places` may come out below the limit asked for.
struct Scientific {
    mpz_class mantissa;
    std::int64_t exponent = 0;
    std::size_t places = 0;
};
Scientific roundToScientific(const Ratio& value, std::uint32_t base, std::size_t places,
                             std::optional<std::size_t> endsAfter);

}  // namespace radixel::engine
