#pragma once
// The framework's text type. It carries its length explicitly and may hold any byte, zero
// included, because design-time records travel in it as well as text; it is marked UTF-8
// because every literal of the program is.

#include <cstddef>
#include <string>
#include <string_view>

namespace fw {

class String {
public:
    enum class Encoding : unsigned char { UTF8, Unknown };

    String() = default;
    String(const char* utf8) : bytes_(utf8 ? utf8 : "") {}
    String(std::string bytes, Encoding encoding = Encoding::UTF8) : bytes_(std::move(bytes)), encoding_(encoding) {}
    explicit String(std::string_view bytes, Encoding encoding = Encoding::UTF8) : bytes_(bytes), encoding_(encoding) {}
    // A literal with embedded zero bytes: pass its length, e.g. String(data, sizeof data - 1).
    String(const char* data, std::size_t size, Encoding encoding = Encoding::UTF8)
        : bytes_(data, size), encoding_(encoding) {}

    const char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    Encoding encoding() const { return encoding_; }
    const std::string& bytes() const& { return bytes_; }
    std::string&& bytes() && { return std::move(bytes_); }
    std::string_view view() const { return bytes_; }

    friend bool operator==(const String& a, const String& b) { return a.bytes_ == b.bytes_; }
    friend String operator+(const String& a, const String& b) { return String(a.bytes_ + b.bytes_); }

private:
    std::string bytes_;
    Encoding encoding_ = Encoding::UTF8;
};

}  // namespace fw
