#include "PropertyRecord.hpp"

#include "Exceptions.hpp"
#include "Property.hpp"

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace fw {

namespace {

constexpr char kSeparator = ' ';
constexpr std::size_t kIntegerBytes = 4;
constexpr std::size_t kBooleanBytes = 1;
constexpr std::size_t kColourBytes = 3;
constexpr std::size_t kCountBytes = 4;
// Enough of a name to recognise it; a malformed record can make "names" of any length.
constexpr std::size_t kQuotedNameBytes = 60;

std::uint32_t readBigEndian32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

void appendBigEndian32(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

// The name as a message can show it: printable ASCII as it is, other bytes as \xNN.
std::string quoted(std::string_view name) {
    std::string out = "\"";
    for (std::size_t i = 0; i < name.size() && i < kQuotedNameBytes; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    if (name.size() > kQuotedNameBytes) out += "...";
    return out + "\"";
}

struct Assignment {
    const PropertyInfo* property;
    PropertyValue value;
};

class RecordReader {
public:
    RecordReader(const ClassTable& cls, std::string_view record) : cls_(cls), record_(record) {}

    std::vector<Assignment> readAll() {
        std::vector<Assignment> items;
        while (at_ < record_.size()) items.push_back(readItem());
        return items;
    }

private:
    Assignment readItem() {
        itemStart_ = at_;
        const std::size_t blank = record_.find(kSeparator, at_);
        if (blank == std::string_view::npos) {
            name_ = record_.substr(at_);
            fail("has no blank after its name before the record ends");
        }
        name_ = record_.substr(at_, blank - at_);
        if (name_.empty()) fail("has an empty name");
        const PropertyInfo* property = cls_.findProperty(name_);
        if (!property) fail("is no property of " + cls_.fullName);
        if (!property->set) fail("names a property that cannot be set");
        at_ = blank + 1;
        return {property, readValue(property->type)};
    }

    PropertyValue readValue(PropertyType type) {
        switch (type) {
        case PropertyType::Integer: {
            need(kIntegerBytes, "an integer");
            const auto value = static_cast<std::int32_t>(readBigEndian32(record_, at_));
            at_ += kIntegerBytes;
            return value;
        }
        case PropertyType::Boolean: {
            need(kBooleanBytes, "a Boolean");
            const auto byte = static_cast<unsigned char>(record_[at_]);
            if (byte > 1) {
                char text[8];
                std::snprintf(text, sizeof text, "0x%02X", byte);
                fail(std::string("has the Boolean byte ") + text + ", which is neither 0x00 nor 0x01");
            }
            at_ += kBooleanBytes;
            return byte == 1;
        }
        case PropertyType::Colour: {
            need(kColourBytes, "a colour");
            Color colour{static_cast<std::uint8_t>(record_[at_]), static_cast<std::uint8_t>(record_[at_ + 1]),
                         static_cast<std::uint8_t>(record_[at_ + 2])};
            at_ += kColourBytes;
            return colour;
        }
        case PropertyType::Text: {
            need(kCountBytes, "a text's byte count");
            const std::uint32_t count = readBigEndian32(record_, at_);
            at_ += kCountBytes;
            need(count, "a text of " + std::to_string(count) + " bytes");
            String text(record_.substr(at_, count));
            at_ += count;
            return text;
        }
        }
        fail("has a property type that records cannot hold");
    }

    void need(std::size_t bytes, const std::string& what) {
        const std::size_t left = record_.size() - at_;
        if (bytes > left)
            fail("runs past the end of the record: " + what + " needs " + std::to_string(bytes) +
                 (bytes == 1 ? " byte, " : " bytes, ") + std::to_string(left) + " remain");
    }

    [[noreturn]] void fail(const std::string& why) const {
        throw RuntimeException(String("RuntimeException: property record for " + cls_.fullName + ": the item " +
                                      quoted(name_) + " at byte " + std::to_string(itemStart_) + " " + why));
    }

    const ClassTable& cls_;
    std::string_view record_;
    std::size_t at_ = 0;
    std::size_t itemStart_ = 0;
    std::string_view name_;
};

}  // namespace

// The whole record is read and checked before anything is assigned: a malformed record
// leaves the target as it was.
void SetProperties(Object& target, const String& record) {
    const std::vector<Assignment> items = RecordReader(target.classTable(), record.view()).readAll();
    for (const Assignment& item : items) item.property->set(target, item.value);
}

void SetProperties(const std::shared_ptr<Object>& target, const String& record) {
    if (!target) RaiseNilObjectException();
    SetProperties(*target, record);
}

RecordItem::RecordItem(std::string_view name, std::int32_t value) : name_(name), value_(value) {}
RecordItem::RecordItem(std::string_view name, bool value) : name_(name), value_(value) {}
RecordItem::RecordItem(std::string_view name, const char* text) : name_(name), value_(String(text)) {}
RecordItem::RecordItem(std::string_view name, std::string_view text) : name_(name), value_(String(text)) {}
RecordItem::RecordItem(std::string_view name, Color value) : name_(name), value_(value) {}

void RecordItem::writeTo(std::string& out) const {
    if (name_.empty() || name_.find(kSeparator) != std::string_view::npos)
        throw RuntimeException(String("RuntimeException: a record item's name must be a word: " + quoted(name_)));
    out += name_;
    out += kSeparator;
    if (const auto* integer = std::get_if<std::int32_t>(&value_)) {
        appendBigEndian32(out, static_cast<std::uint32_t>(*integer));
    } else if (const auto* boolean = std::get_if<bool>(&value_)) {
        out += static_cast<char>(*boolean ? 1 : 0);
    } else if (const auto* colour = std::get_if<Color>(&value_)) {
        out += static_cast<char>(colour->red);
        out += static_cast<char>(colour->green);
        out += static_cast<char>(colour->blue);
    } else {
        const String& text = std::get<String>(value_);
        if (text.size() > std::numeric_limits<std::uint32_t>::max())
            throw RuntimeException(String("RuntimeException: the text of record item " + quoted(name_) +
                                          " is longer than a record can count"));
        appendBigEndian32(out, static_cast<std::uint32_t>(text.size()));
        out += text.view();
    }
}

String Record(std::initializer_list<RecordItem> items) {
    std::string bytes;
    for (const RecordItem& item : items) item.writeTo(bytes);
    return String(std::move(bytes));
}

}  // namespace fw
