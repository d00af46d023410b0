#include "EndingExpansion.hpp"

#include <algorithm>
#include <vector>

namespace radixel::engine {

namespace {

struct PrimePower {
    std::uint32_t prime;
    std::size_t multiplicity;
};

// Trial division is instant for bases up to 65536.
std::vector<PrimePower> factor(std::uint32_t n) {
    std::vector<PrimePower> factors;
    for (std::uint32_t p = 2; p * p <= n; ++p) {
        std::size_t count = 0;
        while (n % p == 0) {
            n /= p;
            ++count;
        }
        if (count > 0) {
            factors.push_back({p, count});
        }
    }
    if (n > 1) {
        factors.push_back({n, 1});
    }
    return factors;
}

}  // namespace

std::optional<std::size_t> placesToEnd(const Ratio& value, std::uint32_t target) {
    if (value.denominator == 1) {
        return 0;
    }
    mpz_class rest;
    mpz_gcd(rest.get_mpz_t(), value.numerator.get_mpz_t(), value.denominator.get_mpz_t());
    mpz_divexact(rest.get_mpz_t(), value.denominator.get_mpz_t(), rest.get_mpz_t());
    std::size_t places = 0;
    for (const PrimePower& f : factor(target)) {
        const mpz_class prime = f.prime;
        const auto removed =
            static_cast<std::size_t>(mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), prime.get_mpz_t()));
        places = std::max(places, removed / f.multiplicity + (removed % f.multiplicity != 0));
    }
    if (rest != 1) {
        return std::nullopt;
    }
    return places;
}

std::optional<std::size_t> placesToEndOfPower(std::uint32_t base, std::size_t count, std::uint32_t target) {
    const std::vector<PrimePower> targetFactors = factor(target);
    std::size_t places = 0;
    for (const PrimePower& f : factor(base)) {
        const auto inTarget = std::find_if(targetFactors.begin(), targetFactors.end(),
                                           [&](const PrimePower& t) { return t.prime == f.prime; });
        if (inTarget == targetFactors.end()) {
            return std::nullopt;
        }
        const std::size_t removed = count * f.multiplicity;
        places = std::max(places, removed / inTarget->multiplicity + (removed % inTarget->multiplicity != 0));
    }
    return places;
}

}  // namespace radixel::engine
