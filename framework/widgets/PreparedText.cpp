#include "PreparedText.hpp"

#include "ParallelUtf8.hpp"
#include "PreparedTextImpl.hpp"

#include <new>
#include <utility>

namespace fw {

PreparedText::PreparedText() : impl_(std::make_unique<Impl>()) {}

PreparedText::PreparedText(String text) : impl_(std::make_unique<Impl>()) {
    try {
        impl_->text = parallelutf8::Decode(text.view(), parallelutf8::PiecesFor(text.size()));
    } catch (const std::bad_alloc&) {
        impl_->held = false;
    }
}

PreparedText::PreparedText(PreparedText&& other) noexcept : impl_(std::exchange(other.impl_, nullptr)) {}

PreparedText& PreparedText::operator=(PreparedText&& other) noexcept {
    impl_ = std::exchange(other.impl_, nullptr);
    return *this;
}

PreparedText::~PreparedText() = default;

bool PreparedText::Held() const { return !impl_ || impl_->held; }

}  // namespace fw
