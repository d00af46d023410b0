#include "engine/WorkEstimate.hpp"

#include "engine/ConversionError.hpp"
#include "engine/Messages.hpp"
#include "engine/Radix.hpp"

namespace radixel::engine {

namespace {

// Numbers of the peak size alive at once: dividend, divisor, quotient and
// remainder of the one large division, with GMP's scratch space as one more.
constexpr double kLiveOperands = 5;
constexpr double kBitsPerByte = 8;
constexpr double kDigitBytes = sizeof(std::uint16_t);

double charactersPerDigit(std::uint32_t base)
{
    if (base <= 36) {
        return 1;
    }
    // "<" and ">" around the decimal digits of the largest digit value.
    return base <= 100 ? 4 : base <= 1000 ? 5 : base <= 10000 ? 6 : 7;
}

}  // namespace

double estimatedBytes(const WorkShape& shape)
{
    const double operands = (shape.valueBits + shape.scaleBits) / kBitsPerByte * kLiveOperands;
    const double digits = (shape.inputDigits + shape.outputDigits) * kDigitBytes;
    const double text = shape.outputDigits * charactersPerDigit(shape.targetBase);
    return operands + digits + text;
}

void checkWork(const WorkShape& shape)
{
    if (!(estimatedBytes(shape) <= kWorkLimitBytes)) {
        throw ConversionError(messages::tooLarge());
    }
}

void checkTextSize(std::size_t bytes, std::uint32_t sourceBase)
{
    WorkShape shape;
    shape.inputDigits = static_cast<double>(bytes);
    shape.valueBits = static_cast<double>(bytes) * log2Of(sourceBase);
    checkWork(shape);
}

}  // namespace radixel::engine
