#include "CharacterAdvances.hpp"

#include <QChar>
#include <QFontMetricsF>
#include <QString>

#include <bit>

namespace fw {

namespace {

constexpr std::size_t kCodeUnits = 0x10000;
// Slots for characters beyond the Basic Multilingual Plane: more than a text of emoji, or of
// mathematical letters, uses.
constexpr std::size_t kPairSlots = 4096;

}  // namespace

CharacterAdvances::CharacterAdvances(Measure measure)
    : measure_(std::move(measure)),
      table_(std::make_unique<std::atomic<float>[]>(kCodeUnits)),
      pairs_(std::make_unique<std::atomic<std::uint64_t>[]>(kPairSlots)) {
    for (std::size_t i = 0; i < kCodeUnits; ++i) table_[i].store(-1.0f, std::memory_order_relaxed);
    for (std::size_t i = 0; i < kPairSlots; ++i) pairs_[i].store(0, std::memory_order_relaxed);
}

std::shared_ptr<CharacterAdvances> CharacterAdvances::ofFont(const QFont& font) {
    QFont unkerned = font;
    unkerned.setKerning(false);
    // Metrics are made where they are used: a thread that lays text out measures with its own.
    return std::make_shared<CharacterAdvances>(
        [unkerned](QStringView character) { return QFontMetricsF(unkerned).horizontalAdvance(character.toString()); });
}

// Surrogates are never entered in the table: their entries stay unknown, so that the one test of
// the table also sends them here.
float CharacterAdvances::measure(char16_t unit, char16_t next) const {
    if (QChar::isLowSurrogate(unit)) return 0;  // a pair is measured at its first half
    if (unit == u'\n') {
        table_[unit].store(0, std::memory_order_relaxed);
        return 0;
    }
    if (QChar::isHighSurrogate(unit)) {
        if (next == 0) return 0;
        if (QChar::isLowSurrogate(next)) return measurePair(unit, next);
        const char16_t pair[] = {unit, next};
        const std::lock_guard<std::mutex> lock(measuring_);
        return static_cast<float>(measure_(QStringView(pair, 2)));
    }
    // A tab's own advance depends on where it stands; alone, it is as wide as a blank.
    const char16_t shown = unit == u'\t' ? u' ' : unit;
    const std::lock_guard<std::mutex> lock(measuring_);
    const auto advance = static_cast<float>(measure_(QStringView(&shown, 1)));
    if (unit != u'\t') table_[unit].store(advance, std::memory_order_relaxed);
    return advance;
}

// A slot holds no code point of the Basic Multilingual Plane, so an empty one (0) matches none.
float CharacterAdvances::measurePair(char16_t high, char16_t low) const {
    const char32_t codePoint = QChar::surrogateToUcs4(high, low);
    std::atomic<std::uint64_t>& slot = pairs_[codePoint % kPairSlots];
    const std::uint64_t held = slot.load(std::memory_order_relaxed);
    if (held >> 32 == codePoint) return std::bit_cast<float>(static_cast<std::uint32_t>(held));
    const char16_t pair[] = {high, low};
    const std::lock_guard<std::mutex> lock(measuring_);
    const auto advance = static_cast<float>(measure_(QStringView(pair, 2)));
    slot.store(std::uint64_t{codePoint} << 32 | std::bit_cast<std::uint32_t>(advance), std::memory_order_relaxed);
    return advance;
}

}  // namespace fw
