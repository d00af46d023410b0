#pragma once
// The framework's text type. It carries its length explicitly and may hold any byte, zero
// included, because design-time records travel in it as well as text; text in it is UTF-8,
// as every literal of the program is.

#include <cstddef>
#include <memory>
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

    // A text whose bytes stay where another owner keeps them, so that a long text passes on
    // without a copy: the owner is let go when the last copy of the string goes. The string
    // makes a std::string of its own from them only when bytes() asks for one.
    static String Adopt(std::string_view bytes, std::shared_ptr<const void> owner);

    // The bytes are not necessarily followed by a zero byte; bytes().c_str() is.
    const char* data() const { return view().data(); }
    std::size_t size() const { return view().size(); }
    bool empty() const { return size() == 0; }
    const std::string& bytes() const& {
        own();
        return bytes_;
    }
    std::string&& bytes() && {
        own();
        return std::move(bytes_);
    }
    std::string_view view() const { return owner_ ? adopted_ : std::string_view(bytes_); }

    friend bool operator==(const String& a, const String& b) { return a.view() == b.view(); }
    friend String operator+(const String& a, const String& b) {
        std::string joined;
        joined.reserve(a.size() + b.size());
        joined.append(a.view()).append(b.view());
        return String(std::move(joined));
    }

private:
    // An adopted text becomes an ordinary one; its owner is let go.
    void own() const {
        if (!owner_) return;
        bytes_.assign(adopted_);
        owner_.reset();
        adopted_ = {};
    }

    // Mutable only so that an adopted text can take its bytes in at the first bytes().
    mutable std::string bytes_;
    mutable std::shared_ptr<const void> owner_;
    mutable std::string_view adopted_;
};

inline String String::Adopt(std::string_view bytes, std::shared_ptr<const void> owner) {
    String text;
    if (!owner) {
        text.bytes_.assign(bytes);
        return text;
    }
    text.adopted_ = bytes;
    text.owner_ = std::move(owner);
    return text;
}

}  // namespace fw
