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

TextPreparer::TextPreparer(const TextPreparer& other) = default;
TextPreparer& TextPreparer::operator=(const TextPreparer& other) = default;
TextPreparer::~TextPreparer() = default;

PreparedText TextPreparer::Prepare(String text) const {
    PreparedText prepared(std::move(text));
    // Without a view to lay out for, the area lays the characters out when it takes them.
    if (!prepared.Held() || !impl_->settings.advances) return prepared;
    try {
        prepared.impl_->laidOut.emplace(std::move(prepared.impl_->text), impl_->settings);
    } catch (const std::bad_alloc&) {
        prepared.impl_->laidOut.reset();
        prepared.impl_->text = QString();
        prepared.impl_->held = false;
    }
    return prepared;
}

PreparedText::PreparedText(PreparedText&& other) noexcept : impl_(std::exchange(other.impl_, nullptr)) {}

PreparedText& PreparedText::operator=(PreparedText&& other) noexcept {
    impl_ = std::exchange(other.impl_, nullptr);
    return *this;
}

PreparedText::~PreparedText() = default;

bool PreparedText::Held() const { return !impl_ || impl_->held; }

}  // namespace fw
