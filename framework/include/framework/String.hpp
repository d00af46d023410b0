#pragma once
// The framework's text type. It carries its length explicitly and may hold any byte, zero
// included, because design-time records travel in it as well as text; text in it is UTF-8,
// as every literal of the program is.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace fw {

class String {
public:
    String() = default;
    String(const char* utf8) : bytes_(utf8 ? utf8 : "") {}
    String(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit String(std::string_view bytes) : bytes_(bytes) {}
    // A literal with embedded zero bytes: pass its length, e.g. String(data, sizeof data - 1).
    String(const char* data, std::size_t size) : bytes_(data, size) {}

    const char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    const std::string& bytes() const& { return bytes_; }
    std::string&& bytes() && { return std::move(bytes_); }
    std::string_view view() const { return bytes_; }

    friend bool operator==(const String& a, const String& b) { return a.bytes_ == b.bytes_; }
    friend String operator+(const String& a, const String& b) { return String(a.bytes_ + b.bytes_); }

private:
    std::string bytes_;
};

}  // namespace fw
