#include "WorkEstimate.hpp"

#include <algorithm>
#include <limits>

#include "ConversionError.hpp"
#include "Messages.hpp"
#include "Notation.hpp"
#include "PowerTable.hpp"
#include "Radix.hpp"

namespace radixel::engine {

namespace {

// Numbers of the peak size alive at once: dividend, divisor, quotient and
// remainder of the one large division, with GMP's scratch space as one more;
// then, while the result becomes digits, its table of powers and the scratch
// space of that conversion, which measure as about three more.
constexpr double kLiveOperands = 8;
constexpr double kBitsPerByte = 8;
constexpr double kDigitBytes = sizeof(std::uint16_t);
// An mpz counts its limbs in an int.
constexpr double kLargestOperandBits = static_cast<double>(std::numeric_limits<int>::max()) * kLimbBits;

// The widest digit of the base: its largest.
double charactersPerDigit(std::uint32_t base) { return static_cast<double>(spelledWidth(digitBaseOf(base) - 1)); }

}  // namespace

double estimatedBytes(const WorkShape& shape) {
    const double operands = (shape.valueBits + shape.scaleBits) / kBitsPerByte * kLiveOperands;
    const double digits = (shape.inputDigits + shape.outputDigits) * kDigitBytes;
    const double text = shape.outputDigits * charactersPerDigit(shape.targetBase);
    return operands + digits + text;
}

void checkWork(const WorkShape& shape, double usableBytes) {
    double available = usableBytes;
    if (shape.valueBits + shape.scaleBits > kLargestOperandBits) {
        WorkShape largest = shape;
        largest.valueBits = std::min(shape.valueBits, kLargestOperandBits);
        largest.scaleBits = kLargestOperandBits - largest.valueBits;
        available = std::min(available, estimatedBytes(largest));
    }
    const double needed = estimatedBytes(shape);
    if (!(needed <= available)) {
        throw ConversionError(messages::tooLarge(needed, available));
    }
}

void checkTextSize(std::size_t bytes, std::uint32_t sourceBase, double usableBytes) {
    WorkShape shape;
    shape.inputDigits = static_cast<double>(bytes);
    shape.valueBits = static_cast<double>(bytes) * log2Of(sourceBase);
    checkWork(shape, usableBytes);
}

}  // namespace radixel::engine
