#include <gmpxx.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <iostream>
#include <new>
#include <string>

#include "ConvertWithin.hpp"
#include "GmpAllocation.hpp"
#include "engine/convert.hpp"

namespace radixel::engine {
namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;

// Setting an address-space limit under AddressSanitizer, whose shadow memory
// alone is terabytes of address space, leaves it unable to allocate at all.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceCanBeLimited = false;
#else
constexpr bool kAddressSpaceCanBeLimited = true;
#endif

void limitAddressSpace(double bytes) {
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
        std::_Exit(2);
    }
}

// Prints the answer for the parent to match and exits 0 when it is a message.
[[noreturn]] void answerAndExit(const std::string& result) {
    std::cerr << result.substr(0, 200) << std::endl;
    std::_Exit(result.size() < 200 ? 0 : 1);
}

// Under a limit of the kind `ulimit -v` sets, the work is refused with the
// figures the process really has, measured when the conversion starts.
TEST(OutOfMemory, AnAddressSpaceLimitIsRespected) {
    if (!kAddressSpaceCanBeLimited) {
        GTEST_SKIP() << "address-space limits and AddressSanitizer exclude each other";
    }
    EXPECT_EXIT(
        {
            limitAddressSpace(600000 * 1024.0);
            answerAndExit(radixel::convert("1/3", 10, 10, 100000000, true));
        },
        ::testing::ExitedWithCode(0), "Too large: needs [0-9.]+ MiB of memory, [0-9.]+ MiB available");
}

// Were the estimate ever short of what GMP really allocates, the allocation
// that fails is answered with a message too, where GMP itself would abort.
TEST(OutOfMemory, AFailedAllocationInsideGmpIsAnswered) {
    if (!kAddressSpaceCanBeLimited) {
        GTEST_SKIP() << "address-space limits and AddressSanitizer exclude each other";
    }
    EXPECT_EXIT(
        {
            limitAddressSpace(600000 * 1024.0);
            // Its result alone is half the limit, and the value and its scaling take more.
            answerAndExit(convertWithin("1/3", 10, 10, 300000000, true, 64 * 1024 * kMebibyte));
        },
        ::testing::ExitedWithCode(0), "^Out of memory");
}

// GMP is cut short in the middle of its work; what it had allocated is freed
// when the scope ends, and nothing is freed twice. The leak checker and the
// address checker of the sanitizer build watch over the first; glibc's check
// of its free lists, in every build, over the second.
TEST(OutOfMemory, GmpCutShortLeavesNothingBehind) {
    struct Step {
        const char* name;
        double allowance;
        void (*run)(mpz_class& out, const mpz_class& a, const mpz_class& b);
    };
    const Step steps[] = {
        // The product's old block is freed before the larger one is asked for.
        {"product", kMebibyte,
         [](mpz_class& out, const mpz_class& a, const mpz_class& b) {
             mpz_mul(out.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
         }},
        // With room for quotient and remainder made first, what fails is GMP's own scratch
        // space, taken from the allocation functions and left behind by the exception.
        {"division", 2 * kMebibyte,
         [](mpz_class& out, const mpz_class& a, const mpz_class& b) {
             mpz_class remainder;
             mpz_realloc2(out.get_mpz_t(), mpz_sizeinbase(a.get_mpz_t(), 2) - mpz_sizeinbase(b.get_mpz_t(), 2) + 64);
             mpz_realloc2(remainder.get_mpz_t(), mpz_sizeinbase(b.get_mpz_t(), 2) + 64);
             mpz_tdiv_qr(out.get_mpz_t(), remainder.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
         }},
        {"power", kMebibyte,
         [](mpz_class& out, const mpz_class&, const mpz_class&) { mpz_ui_pow_ui(out.get_mpz_t(), 7, 100000000); }},
        {"text", kMebibyte, [](mpz_class& out, const mpz_class& a, const mpz_class&) { out = a.get_str(10).size(); }},
    };
    constexpr mp_bitcnt_t kBitsOfA = 400000 * 8;
    constexpr mp_bitcnt_t kBitsOfB = 300000 * 8;
    for (const Step& step : steps) {
        const GmpAllocationScope scope(step.allowance);
        // Setting a bit allocates just the number's size: the two operands take 700 kB.
        mpz_class a;
        mpz_class b;
        mpz_setbit(a.get_mpz_t(), kBitsOfA);
        mpz_sub_ui(a.get_mpz_t(), a.get_mpz_t(), 1);
        mpz_setbit(b.get_mpz_t(), kBitsOfB);
        mpz_class out = 1;
        EXPECT_THROW(step.run(out, a, b), std::bad_alloc) << step.name;
    }
}

// Outside a conversion GMP keeps its own behaviour, and within one the numbers are right.
TEST(OutOfMemory, WithinItsAllowanceGmpWorksAsAlways) {
    mpz_class before;
    mpz_ui_pow_ui(before.get_mpz_t(), 3, 1000);
    {
        const GmpAllocationScope scope(64 * kMebibyte);
        mpz_class inside;
        mpz_ui_pow_ui(inside.get_mpz_t(), 3, 1000);
        EXPECT_EQ(inside, before);
        before *= 2;
    }
    EXPECT_EQ(before % 3, 0);
    EXPECT_EQ(convertWithin("-1.2341234e20000", 16, 10, 8, true, 64 * kMebibyte), "-7.498C7FD9b^40E1");
}

// A number made before a scope stays its owner's: growing inside the scope does not hand its
// block to the scope, which would free it when the scope ends. A scope made inside another
// leaves every block to the outer one, so none is freed twice. The sanitizer build sees a
// block freed too early or twice.
TEST(OutOfMemory, NumbersFromOutsideAScopeStayTheirOwners) {
    mpz_class before;
    mpz_ui_pow_ui(before.get_mpz_t(), 3, 1000);
    {
        const GmpAllocationScope scope(64 * kMebibyte);
        before <<= 100000;
    }
    EXPECT_EQ(mpz_divisible_ui_p(before.get_mpz_t(), 3), 1);
    EXPECT_EQ(mpz_scan1(before.get_mpz_t(), 0), 100000u);

    const GmpAllocationScope outer(64 * kMebibyte);
    mpz_class made;
    mpz_ui_pow_ui(made.get_mpz_t(), 5, 1000);
    {
        const GmpAllocationScope inner(64 * kMebibyte);
        made <<= 100000;
        mpz_class gone;
        mpz_ui_pow_ui(gone.get_mpz_t(), 7, 1000);
        made += gone;
    }
    made = 0;
}

}  // namespace
}  // namespace radixel::engine
