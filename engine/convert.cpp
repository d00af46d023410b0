// The conversion contract: check the arguments, read the notation, refuse
// work too large for memory, compute the exact value, round it where the
// form has places, and write it in the target base. Every failure on the way
// is a ConversionError carrying its message, which becomes the result.
#include "engine/convert.hpp"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <stdexcept>

#include <gmpxx.h>

#include "ConversionError.hpp"
#include "ConversionStop.hpp"
#include "ConvertWithin.hpp"
#include "DigitRegrouping.hpp"
#include "DigitsToInteger.hpp"
#include "EndingExpansion.hpp"
#include "GmpAllocation.hpp"
#include "GrayCode.hpp"
#include "IntegerPower.hpp"
#include "IntegerToDigits.hpp"
#include "MemoryBudget.hpp"
#include "Messages.hpp"
#include "NumberReader.hpp"
#include "NumberWriter.hpp"
#include "ParallelWork.hpp"
#include "Radix.hpp"
#include "Rounding.hpp"
#include "TextPlace.hpp"
#include "WorkEstimate.hpp"

namespace radixel {

namespace {

using namespace engine;

// An exponent this long in bits already asks for a power of the base beyond
// any memory, and staying below it keeps every exponent sum in 64 bits.
constexpr double kMaxExponentBits = 62;

struct Request {
    std::string_view text;
    std::uint32_t from;
    std::uint32_t to;
    std::size_t places;
    bool upperCase;
    double usableBytes;
};

bool isBase(std::int32_t base) {
    return base >= static_cast<std::int32_t>(kGrayCodeBase) && base <= static_cast<std::int32_t>(kMaxBase);
}

double bitsOf(const Digits& digits, std::uint32_t base) { return static_cast<double>(digits.size()) * log2Of(base); }

mpz_class valueOf(const Digits& digits, std::uint32_t base) {
    return digitsToInteger(digits.data(), digits.size(), digitBaseOf(base));
}

void checkGrayCodeTarget(std::string_view text, const Notation& number) {
    switch (number.form) {
    case NumberForm::Integer: return;
    case NumberForm::Point: throw ConversionError(messages::pointWithGrayCode(characterNumber(text, number.pointAt)));
    case NumberForm::Exponent:
        throw ConversionError(messages::exponentWithGrayCode(characterNumber(text, number.markerAt)));
    case NumberForm::Fraction:
        throw ConversionError(messages::fractionWithGrayCode(characterNumber(text, number.slashAt)));
    }
}

// An integer written as a plain run of digits, read straight off the text and, in a target base
// up to 36, written straight into the result: no digit array on either side, so the digits are
// held in no more copies than the text and the result. Nothing where the text has another
// shape, or a character that the full reader must name, or the bases want another route.
std::optional<std::string> plainIntegerResult(const Request& request) {
    const bool positional = request.from != kGrayCodeBase && request.to != kGrayCodeBase;
    if (!positional || request.from > kFirstBracketedDigit || exponentOfPower(request.from, request.to) > 0 ||
        exponentOfPower(request.to, request.from) > 0) {
        return std::nullopt;
    }
    const std::optional<PlainInteger> plain = plainIntegerOf(request.text);
    if (!plain) {
        return std::nullopt;
    }
    WorkShape shape;
    shape.inputDigits = static_cast<double>(plain->digits.size());
    shape.valueBits = shape.inputDigits * log2Of(request.from);
    shape.outputDigits = shape.valueBits / log2Of(request.to) + 1;
    shape.targetBase = request.to;
    checkWork(shape, request.usableBytes);
    std::optional<mpz_class> value = plainDigitsToInteger(plain->digits, request.from, plainDigitTable(request.from));
    if (!value) {
        return std::nullopt;
    }
    checkStop();
    const NumberWriter writer(request.to, request.upperCase);
    const bool negative = plain->negative && *value != 0;
    if (request.to <= kFirstBracketedDigit) {
        return writer.integer(negative, std::move(*value));
    }
    return writer.integer(negative, integerToDigits(*value, request.to, 1));
}

std::string integerResult(const Request& request, Notation& number) {
    WorkShape shape;
    shape.inputDigits = static_cast<double>(number.mantissa.size());
    shape.valueBits = bitsOf(number.mantissa, request.from);
    shape.outputDigits = shape.valueBits / log2Of(request.to) + 1;
    shape.targetBase = request.to;
    checkWork(shape, request.usableBytes);

    // One base a power of the other: the digits regroup in linear time, without a big integer in between.
    if (std::optional<Digits> regrouped = regroupDigits(number.mantissa, request.from, request.to)) {
        number.mantissa = Digits();
        return NumberWriter(request.to, request.upperCase).integer(number.negative, *regrouped);
    }
    if (request.from == kGrayCodeBase) {
        grayDecode(number.mantissa);
    }
    mpz_class value = valueOf(number.mantissa, request.from);
    number.mantissa = Digits();
    checkStop();
    if (request.to == kGrayCodeBase) {
        Digits bits = integerToDigits(value, digitBaseOf(request.to), 1);
        grayEncode(bits);
        return NumberWriter::grayCode(bits);
    }
    const NumberWriter writer(request.to, request.upperCase);
    if (request.to <= kFirstBracketedDigit) {
        return writer.integer(number.negative && value != 0, std::move(value));
    }
    return writer.integer(number.negative, integerToDigits(value, request.to, 1));
}

// Looks for the end of the expansion only where the places asked for outweigh
// the value itself, and only for values small enough that the gcd it takes
// costs milliseconds; a larger search could take longer than the work it saves.
std::optional<std::size_t> endOfExpansion(const Ratio& value, const Request& request) {
    constexpr double kLargestSearchBits = 1 << 24;
    if (value.denominator == 1) {
        return 0;
    }
    const double placesBits = static_cast<double>(request.places) * log2Of(request.to);
    const auto numeratorBits = static_cast<double>(mpz_sizeinbase(value.numerator.get_mpz_t(), 2));
    const auto denominatorBits = static_cast<double>(mpz_sizeinbase(value.denominator.get_mpz_t(), 2));
    if (placesBits <= denominatorBits || numeratorBits + denominatorBits > kLargestSearchBits) {
        return std::nullopt;
    }
    return placesToEnd(value, request.to);
}

std::string fixedResult(const Request& request, const Notation& number) {
    Ratio value;
    value.numerator = valueOf(number.mantissa, request.from);
    if (number.form == NumberForm::Fraction) {
        value.denominator = valueOf(number.denominator, request.from);
    } else {
        value.denominator = integerPower(digitBaseOf(request.from), number.fractionDigits);
    }
    std::optional<std::size_t> endsAfter;
    if (number.form == NumberForm::Point) {
        endsAfter = placesToEndOfPower(digitBaseOf(request.from), number.fractionDigits, request.to);
    }
    if (!endsAfter) {
        endsAfter = endOfExpansion(value, request);
    }
    const std::size_t places = endsAfter ? std::min(request.places, *endsAfter) : request.places;

    WorkShape shape;
    shape.inputDigits = static_cast<double>(number.mantissa.size() + number.denominator.size());
    shape.valueBits = bitsOf(number.mantissa, request.from) + bitsOf(number.denominator, request.from);
    shape.scaleBits = static_cast<double>(places) * log2Of(request.to);
    shape.outputDigits = bitsOf(number.mantissa, request.from) / log2Of(request.to) + static_cast<double>(places) + 2;
    shape.targetBase = request.to;
    checkWork(shape, request.usableBytes);

    const mpz_class scaled = roundToPlaces(value, request.to, places);
    checkStop();
    if (scaled == 0) {
        return "0";
    }
    const Digits digits = integerToDigits(scaled, request.to, places + 1);
    return NumberWriter(request.to, request.upperCase).fixed(number.negative, digits, places);
}

mpz_class exponentOf(const Notation& number, std::uint32_t base) {
    mpz_class value = valueOf(number.exponent, base);
    if (number.exponentNegative) {
        value = -value;
    }
    return value;
}

// The exponent where a power of the source base has to be built; one of over
// 62 bits is refused before it is read, with what its power would need at least.
std::int64_t exponentWithinReach(const Request& request, const Notation& number) {
    const auto significant = static_cast<double>(number.exponent.size() - leadingZeros(number.exponent));
    if (significant * log2Of(request.from) > kMaxExponentBits) {
        WorkShape shape;
        shape.valueBits = std::pow(static_cast<double>(request.from), significant - 1) * log2Of(request.from);
        shape.scaleBits = shape.valueBits;
        checkWork(shape, request.usableBytes);
    }
    return mpz_get_si(exponentOf(number, request.from).get_mpz_t());
}

// Both bases powers of one root, from = root^a and to = root^b: then
// mantissa * from^p = (mantissa * root^r) * to^q with a*p = b*q + r and
// 0 <= r < b, so the exponent carries over by integer arithmetic and the
// mantissa grows by less than one target digit. No power of a base as large
// as the value is ever built, whatever the exponent.
std::optional<std::string> scientificBetweenPowers(const Request& request, const Notation& number) {
    const RootPower from = rootPowerOf(request.from);
    const RootPower to = rootPowerOf(request.to);
    if (from.root != to.root) {
        return std::nullopt;
    }
    const double mantissaBits = bitsOf(number.mantissa, request.from);
    const double exponentBits = bitsOf(number.exponent, request.from);
    WorkShape shape;
    shape.inputDigits = static_cast<double>(number.mantissa.size() + number.exponent.size());
    shape.valueBits = mantissaBits + log2Of(request.to) + exponentBits;
    shape.scaleBits = mantissaBits;
    shape.outputDigits = std::min(static_cast<double>(request.places), mantissaBits / log2Of(request.to)) +
                         exponentBits / log2Of(request.to) + 3;
    shape.targetBase = request.to;
    checkWork(shape, request.usableBytes);

    mpz_class scaled = (exponentOf(number, request.from) - number.fractionDigits) * from.power;
    mpz_class quotient;
    const unsigned long remainder = mpz_fdiv_q_ui(quotient.get_mpz_t(), scaled.get_mpz_t(), to.power);
    Ratio value;
    value.numerator = valueOf(number.mantissa, request.from);
    multiplyByPower(value.numerator, from.root, remainder);
    // An integer ends after no places, so rounding looks at no more digits than the mantissa has.
    const Scientific rounded = roundToScientific(value, request.to, request.places, 0);
    const Digits digits = integerToDigits(rounded.mantissa, request.to, rounded.places + 1);
    quotient += rounded.exponent;
    return NumberWriter(request.to, request.upperCase).scientific(number.negative, digits, quotient);
}

std::string scientificResult(const Request& request, const Notation& number) {
    if (std::optional<std::string> result = scientificBetweenPowers(request, number)) {
        return *result;
    }
    // value = mantissa * from^power
    const std::int64_t power = exponentWithinReach(request, number) - static_cast<std::int64_t>(number.fractionDigits);
    const double mantissaBits = bitsOf(number.mantissa, request.from);
    const double powerBits = std::fabs(static_cast<double>(power)) * log2Of(request.from);
    // Bringing the value to its mantissa divides or multiplies by a power of
    // the target base about as large as the value itself, places aside.
    const double valueSizeBits = std::fabs(mantissaBits + static_cast<double>(power) * log2Of(request.from));
    WorkShape shape;
    shape.inputDigits = static_cast<double>(number.mantissa.size() + number.exponent.size());
    shape.valueBits = mantissaBits + powerBits;
    shape.scaleBits = valueSizeBits;
    shape.targetBase = request.to;
    checkWork(shape, request.usableBytes);

    Ratio value;
    value.numerator = valueOf(number.mantissa, request.from);
    if (power >= 0) {
        multiplyByPower(value.numerator, request.from, static_cast<std::size_t>(power));
    } else {
        value.denominator = integerPower(request.from, static_cast<std::size_t>(-power));
    }
    const std::optional<std::size_t> endsAfter = endOfExpansion(value, request);
    double places = static_cast<double>(request.places);
    if (endsAfter) {
        // The mantissa needs the value's own places plus one for each power of the base above one.
        const double largestExponent =
            (mantissaBits + std::max(0.0, static_cast<double>(power)) * log2Of(request.from)) / log2Of(request.to);
        places = std::min(places, static_cast<double>(*endsAfter) + largestExponent + 1);
    }
    shape.scaleBits = valueSizeBits + places * log2Of(request.to);
    shape.outputDigits = places + 2;
    checkWork(shape, request.usableBytes);

    const Scientific rounded = roundToScientific(value, request.to, request.places, endsAfter);
    const Digits digits = integerToDigits(rounded.mantissa, request.to, rounded.places + 1);
    return NumberWriter(request.to, request.upperCase).scientific(number.negative, digits, rounded.exponent);
}

std::string convertChecked(const Request& request) {
    checkTextSize(request.text.size(), request.from, request.usableBytes);
    if (std::optional<std::string> plain = plainIntegerResult(request)) {
        return std::move(*plain);
    }
    Notation number = NumberReader(request.text, request.from).read();
    checkStop();
    if (request.to == kGrayCodeBase) {
        checkGrayCodeTarget(request.text, number);
    }
    if (allZero(number.mantissa)) {
        return "0";
    }
    if (number.negative && (request.from == kGrayCodeBase || request.to == kGrayCodeBase)) {
        throw ConversionError(messages::negativeWithGrayCode(characterNumber(request.text, number.signAt)));
    }
    switch (number.form) {
    case NumberForm::Integer: return integerResult(request, number);
    case NumberForm::Point:
    case NumberForm::Fraction: return fixedResult(request, number);
    case NumberForm::Exponent: return scientificResult(request, number);
    }
    return messages::internalFault();
}

}  // namespace

void stopConversions() noexcept { engine::requestStop(); }

namespace {

// What both entries share: the usable bytes are those given, or else read from the machine once
// the stop has been noted, so that a stop reaches the conversion from its very start.
std::string convertNoting(std::string_view inStr, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                          bool toUpperCase, std::optional<double> givenBytes, unsigned givenThreads) {
    ConversionStop stop;
    ThreadMemoryReturn memoryReturn;
    try {
        if (!isBase(baseFrom)) {
            return messages::sourceBaseOutOfRange(baseFrom);
        }
        if (!isBase(baseTo)) {
            return messages::targetBaseOutOfRange(baseTo);
        }
        if (numPlaces < 0) {
            return messages::negativePlaces(numPlaces);
        }
        const double usableBytes = givenBytes ? *givenBytes : engine::usableBytes(readMemoryFigures());
        GmpAllocationScope gmpAllocations(usableBytes, &stop);
        const ConversionThreads threads(givenThreads > 0 ? givenThreads : ConversionThreads::ofMachine(), &stop,
                                        &gmpAllocations, &memoryReturn);
        return convertChecked(Request{inStr, static_cast<std::uint32_t>(baseFrom), static_cast<std::uint32_t>(baseTo),
                                      static_cast<std::size_t>(numPlaces), toUpperCase, usableBytes});
    } catch (const ConversionError& error) {
        // The message is copied into the answer, which can fail like any other allocation.
        try {
            return error.what();
        } catch (...) {
            return messages::outOfMemory();
        }
    } catch (const ConversionStopped&) {
        return messages::stopped();
    } catch (const std::bad_alloc&) {
        return messages::outOfMemory();
    } catch (const std::length_error&) {
        return messages::outOfMemory();
    } catch (...) {
        return messages::internalFault();
    }
}

}  // namespace

std::string convert(std::string_view inStr, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                    bool toUpperCase) {
    return convertNoting(inStr, baseTo, baseFrom, numPlaces, toUpperCase, std::nullopt, 0);
}

std::string engine::convertWithin(std::string_view inStr, std::int32_t baseTo, std::int32_t baseFrom,
                                  std::int32_t numPlaces, bool toUpperCase, double usableBytes, unsigned threads) {
    return convertNoting(inStr, baseTo, baseFrom, numPlaces, toUpperCase, usableBytes, threads);
}

}  // namespace radixel
