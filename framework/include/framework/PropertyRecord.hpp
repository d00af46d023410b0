#pragma once
// Design-time property records: items of a name, one blank and a value whose form the
// property's declared type fixes (4-byte big-endian integer, 1-byte Boolean, 4-byte count and
// bytes for text, 3 bytes for a colour), back to back with nothing around them.

#include "Color.hpp"
#include "Object.hpp"
#include "String.hpp"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string_view>

namespace fw {

// Applies every item of the record to the target; the whole record has taken effect when the
// call returns. A malformed record raises RuntimeException naming the item and its byte offset.
void SetProperties(Object& target, const String& record);
void SetProperties(const std::shared_ptr<Object>& target, const String& record);  // nil raises

// The index of a control that belongs to no control array.
inline constexpr std::int32_t NoControlIndex = std::numeric_limits<std::int32_t>::min();

// One row of a record as the program writes it: a name and a value.
class RecordItem {
public:
    RecordItem(std::string_view name, std::int32_t value);
    RecordItem(std::string_view name, bool value);
    RecordItem(std::string_view name, const char* text);
    RecordItem(std::string_view name, std::string_view text);
    RecordItem(std::string_view name, Color value);

    // Appends the item's bytes.
    void writeTo(std::string& out) const;

private:
    std::string_view name_;
    PropertyValue value_;
};

// The bytes of a record, from rows of name and value.
String Record(std::initializer_list<RecordItem> items);

}  // namespace fw
