#pragma once
// How far each character moves the pen in one font (framework use).

#include <QFont>
#include <QStringView>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace fw {

// The advance of each character of one font, measured once and then looked up: laying out a
// number of a billion digits looks every digit up, so the look-up is one load from a table by
// UTF-16 code unit. Characters beyond the Basic Multilingual Plane, written as surrogate pairs,
// are kept in a second table by code point, where two that share a slot take turns. A character
// that is not yet known is measured on first sight, from any thread: the tables are shared by
// the view and the threads that lay a text out for it.
//
// Characters are measured one by one and without kerning, so that a line's width is the sum of
// its characters' advances.
class CharacterAdvances {
public:
    // Measures one character, given as its code units (two for a surrogate pair).
    using Measure = std::function<double(QStringView)>;

    explicit CharacterAdvances(Measure measure);
    // Measures with the font's metrics, kerning off.
    static std::shared_ptr<CharacterAdvances> ofFont(const QFont& font);

    // The advance of the code unit when it is known, else a negative number: then measure() it.
    float known(char16_t unit) const { return table_[unit].load(std::memory_order_relaxed); }
    // The advance of the character that starts with `unit`; `next` is the code unit after it, or
    // 0 at the end of the text. A line feed has none, and a surrogate pair is measured whole at
    // its first half. A tab, whose advance depends on where it stands, is never known: measured,
    // it gives a blank's.
    float measure(char16_t unit, char16_t next) const;
    float of(char16_t unit, char16_t next) const {
        const float advance = known(unit);
        return advance >= 0 ? advance : measure(unit, next);
    }

private:
    float measurePair(char16_t high, char16_t low) const;

    Measure measure_;
    std::unique_ptr<std::atomic<float>[]> table_;
    // By code point: the code point in the high half of a slot, its advance's bits in the low.
    std::unique_ptr<std::atomic<std::uint64_t>[]> pairs_;
    mutable std::mutex measuring_;
};

}  // namespace fw
