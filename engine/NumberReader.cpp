#include "NumberReader.hpp"

#include <algorithm>
#include <string>

#include "ConversionError.hpp"
#include "ConversionStop.hpp"
#include "Messages.hpp"
#include "TextPlace.hpp"

namespace radixel::engine {

namespace {

// A digit inside "<>" may have any number of leading zeros; its value is capped as it is read,
// since no base has a digit of 65536 or more. A message shows a digit of up to this many decimal
// digits as written; a longer one as its first significant digits, after "0..." where zeros led.
constexpr std::size_t kShownBracketDigits = 12;
constexpr std::uint32_t kBracketValueCap = kMaxBase;

// What a message shows of a bracketed digit's decimal digits.
class BracketedDigitShown {
public:
    void add(char digit) {
        ++count_;
        if (written_.size() <= kShownBracketDigits) {
            written_ += digit;
        }
        if (digit == '0' && significant_.empty()) {
            ++leadingZeros_;
        } else if (significant_.size() <= kShownBracketDigits) {
            significant_ += digit;
        }
    }

    bool empty() const { return count_ == 0; }

    std::string text() const {
        std::string shown;
        if (count_ <= kShownBracketDigits) {
            shown = written_;
        } else {
            shown = leadingZeros_ > 0 ? "0..." : "";
            shown += significant_.substr(0, kShownBracketDigits);
            if (significant_.size() > kShownBracketDigits) {
                shown += "...";
            }
        }
        return "'<" + shown + ">'";
    }

private:
    std::size_t count_ = 0;
    std::size_t leadingZeros_ = 0;
    std::string written_;
    std::string significant_;
};

bool isBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int letterOrDigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

PlainDigitTable plainDigitTable(std::uint32_t base) {
    PlainDigitTable table;
    table.fill(kNotPlainDigit);
    for (int c = 0; c < 256; ++c) {
        const int value = letterOrDigitValue(static_cast<unsigned char>(c));
        if (value >= 0 && static_cast<std::uint32_t>(value) < base) {
            table[static_cast<std::size_t>(c)] = static_cast<std::uint16_t>(value);
        }
    }
    return table;
}

std::optional<PlainInteger> plainIntegerOf(std::string_view text) {
    PlainInteger plain;
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    if (begin < text.size() && (text[begin] == '-' || text[begin] == '+')) {
        plain.negative = text[begin] == '-';
        plain.signAt = begin;
        ++begin;
    }
    std::size_t end = text.size();
    while (end > begin && isBlank(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    if (begin == end || isBlank(static_cast<unsigned char>(text[begin]))) {
        return std::nullopt;
    }
    plain.digits = text.substr(begin, end - begin);
    return plain;
}

NumberReader::NumberReader(std::string_view text, std::uint32_t base)
    : text_(text), base_(base), digitBase_(digitBaseOf(base)), plainDigit_(plainDigitTable(digitBase_)) {
    // Where "b" is a digit it may still begin the marker "b^", so it takes the slow path.
    if (base_ != kExponentMarkerBase) {
        plainDigit_['b'] = kSpecial;
        plainDigit_['B'] = kSpecial;
    }
}

Notation NumberReader::read() {
    notation_.mantissa.reserve(text_.size());
    StopCountdown countdown;
    while (at_ < text_.size()) {
        countdown.tick();
        if (plainDigit_[static_cast<unsigned char>(text_[at_])] != kSpecial) {
            readDigitRun();
        } else {
            readSpecial();
        }
    }
    finish();
    return std::move(notation_);
}

void NumberReader::readDigitRun() {
    Digits& digits = field_ == Field::Mantissa      ? notation_.mantissa
                     : field_ == Field::Denominator ? notation_.denominator
                                                    : notation_.exponent;
    if (field_ == Field::Denominator && denominatorStart_ == Notation::kNowhere) {
        denominatorStart_ = at_;
    }
    const std::size_t before = digits.size();
    const auto* p = reinterpret_cast<const unsigned char*>(text_.data()) + at_;
    const auto* const end = reinterpret_cast<const unsigned char*>(text_.data()) + text_.size();
    for (bool special = false; p < end && !special;) {
        checkStop();
        const auto* const spanEnd = p + std::min<std::ptrdiff_t>(end - p, kItemsBetweenStopChecks);
        for (; p < spanEnd; ++p) {
            const std::uint16_t value = plainDigit_[*p];
            if (value == kSpecial) {
                special = true;
                break;
            }
            digits.push_back(value);
        }
    }
    const std::size_t count = digits.size() - before;
    if (field_ == Field::Mantissa && notation_.pointAt != Notation::kNowhere) {
        notation_.fractionDigits += count;
    }
    at_ += count;
}

void NumberReader::readSpecial() {
    const auto c = static_cast<unsigned char>(text_[at_]);
    if (isBlank(c)) {
        ++at_;
        return;
    }
    switch (c) {
    case '+':
    case '-': readSign(static_cast<char>(c)); return;
    case '.': readPoint(); return;
    case '/': readSlash(); return;
    case '<': readBracketedDigit(); return;
    case '>': fail(messages::unmatchedClosingBracket(characterAt(at_)));
    default: break;
    }
    if (letterOrDigitValue(c) >= 0) {
        readLetterOrDigit(c);
        return;
    }
    fail(messages::notADigit(shownCharacter(text_, at_), characterAt(at_)));
}

void NumberReader::readSign(char sign) {
    const std::string shown{'\'', sign, '\''};
    switch (field_) {
    case Field::Mantissa:
        if (!notation_.mantissa.empty() || notation_.pointAt != Notation::kNowhere) {
            fail(messages::misplacedSign(shown, characterAt(at_)));
        }
        if (notation_.signAt != Notation::kNowhere) {
            fail(messages::secondSign(shown, characterAt(at_)));
        }
        notation_.signAt = at_;
        notation_.negative = sign == '-';
        break;
    case Field::Denominator: fail(messages::signInFraction(shown, characterAt(at_)));
    case Field::Exponent:
        if (!notation_.exponent.empty()) {
            fail(messages::misplacedSign(shown, characterAt(at_)));
        }
        if (exponentSignSeen_) {
            fail(messages::secondSign(shown, characterAt(at_)));
        }
        exponentSignSeen_ = true;
        notation_.exponentNegative = sign == '-';
        break;
    }
    ++at_;
}

void NumberReader::readPoint() {
    if (base_ == kGrayCodeBase) {
        fail(messages::pointWithGrayCode(characterAt(at_)));
    }
    switch (field_) {
    case Field::Mantissa:
        if (notation_.pointAt != Notation::kNowhere) {
            fail(messages::secondPoint(characterAt(at_)));
        }
        notation_.pointAt = at_;
        break;
    case Field::Denominator: fail(messages::pointInFraction(characterAt(at_)));
    case Field::Exponent: fail(messages::pointInExponent(characterAt(at_)));
    }
    ++at_;
}

void NumberReader::readSlash() {
    if (base_ == kGrayCodeBase) {
        fail(messages::fractionWithGrayCode(characterAt(at_)));
    }
    switch (field_) {
    case Field::Mantissa:
        if (notation_.pointAt != Notation::kNowhere) {
            fail(messages::pointInFraction(characterAt(notation_.pointAt)));
        }
        if (notation_.mantissa.empty()) {
            fail(messages::emptyNumerator(characterAt(at_)));
        }
        notation_.slashAt = at_;
        notation_.form = NumberForm::Fraction;
        field_ = Field::Denominator;
        break;
    case Field::Denominator: fail(messages::secondSlash(characterAt(at_)));
    case Field::Exponent: fail(messages::exponentInFraction(characterAt(notation_.markerAt)));
    }
    ++at_;
}

void NumberReader::readMarker(std::size_t length) {
    if (base_ == kGrayCodeBase) {
        fail(messages::exponentWithGrayCode(characterAt(at_)));
    }
    switch (field_) {
    case Field::Mantissa:
        if (notation_.mantissa.empty()) {
            fail(messages::noDigitsBeforeExponent(characterAt(at_)));
        }
        notation_.markerAt = at_;
        notation_.form = NumberForm::Exponent;
        field_ = Field::Exponent;
        break;
    case Field::Denominator: fail(messages::exponentInFraction(characterAt(at_)));
    case Field::Exponent: {
        std::string shown{'\'', text_[at_]};
        if (length > 1) {
            shown += '^';
        }
        shown += '\'';
        fail(messages::secondMarker(shown, characterAt(at_)));
    }
    }
    at_ += length;
}

void NumberReader::readLetterOrDigit(unsigned char c) {
    if (base_ == kExponentMarkerBase && (c == 'e' || c == 'E')) {
        readMarker(1);
        return;
    }
    if (base_ != kExponentMarkerBase && (c == 'b' || c == 'B')) {
        if (const std::size_t length = markerLengthAt(at_); length > 0) {
            readMarker(length);
            return;
        }
    }
    const auto value = static_cast<std::uint32_t>(letterOrDigitValue(c));
    if (value >= digitBase_) {
        fail(messages::digitNotInBase(shownCharacter(text_, at_), base_, characterAt(at_)));
    }
    if (field_ == Field::Denominator && denominatorStart_ == Notation::kNowhere) {
        denominatorStart_ = at_;
    }
    appendDigit(static_cast<std::uint16_t>(value));
    ++at_;
}

void NumberReader::readBracketedDigit() {
    const std::size_t open = at_;
    std::uint32_t value = 0;
    BracketedDigitShown written;
    std::size_t firstNonDecimal = Notation::kNowhere;
    std::size_t i = open + 1;
    StopCountdown countdown;
    for (;; ++i) {
        countdown.tick();
        if (i == text_.size() || text_[i] == '<') {
            fail(messages::unmatchedOpeningBracket(characterAt(open)));
        }
        const auto c = static_cast<unsigned char>(text_[i]);
        if (c == '>') {
            break;
        }
        if (isBlank(c)) {
            continue;
        }
        if (c >= '0' && c <= '9') {
            value = std::min(value * 10 + (c - '0'), kBracketValueCap);
            written.add(static_cast<char>(c));
        } else if (firstNonDecimal == Notation::kNowhere) {
            firstNonDecimal = i;
        }
    }
    if (firstNonDecimal != Notation::kNowhere) {
        fail(messages::notDecimalInBrackets(shownCharacter(text_, firstNonDecimal), characterAt(firstNonDecimal)));
    }
    if (written.empty()) {
        fail(messages::emptyBrackets(characterAt(open)));
    }
    if (value >= digitBase_) {
        fail(messages::digitNotInBase(written.text(), base_, characterAt(open)));
    }
    if (field_ == Field::Denominator && denominatorStart_ == Notation::kNowhere) {
        denominatorStart_ = open;
    }
    appendDigit(static_cast<std::uint16_t>(value));
    at_ = i + 1;
}

void NumberReader::appendDigit(std::uint16_t value) {
    switch (field_) {
    case Field::Mantissa:
        notation_.mantissa.push_back(value);
        if (notation_.pointAt != Notation::kNowhere) {
            ++notation_.fractionDigits;
        }
        break;
    case Field::Denominator: notation_.denominator.push_back(value); break;
    case Field::Exponent: notation_.exponent.push_back(value); break;
    }
}

void NumberReader::finish() {
    switch (field_) {
    case Field::Mantissa:
        if (notation_.mantissa.empty()) {
            fail(messages::noNumber());
        }
        if (notation_.pointAt != Notation::kNowhere) {
            notation_.form = NumberForm::Point;
        }
        break;
    case Field::Denominator: {
        if (notation_.denominator.empty()) {
            fail(messages::emptyDenominator(characterAt(notation_.slashAt)));
        }
        if (allZero(notation_.denominator)) {
            fail(messages::zeroDenominator(characterAt(denominatorStart_)));
        }
        break;
    }
    case Field::Exponent:
        if (notation_.exponent.empty()) {
            fail(messages::noDigitsInExponent(characterAt(notation_.markerAt)));
        }
        break;
    }
}

std::size_t NumberReader::markerLengthAt(std::size_t offset) const {
    StopCountdown countdown;
    for (std::size_t i = offset + 1; i < text_.size(); ++i) {
        countdown.tick();
        const auto c = static_cast<unsigned char>(text_[i]);
        if (c == '^') {
            return i + 1 - offset;
        }
        if (!isBlank(c)) {
            return 0;
        }
    }
    return 0;
}

void NumberReader::fail(const std::string& message) const { throw ConversionError(message); }

std::size_t NumberReader::characterAt(std::size_t offset) const { return characterNumber(text_, offset); }

}  // namespace radixel::engine
