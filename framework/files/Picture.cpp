#include "Picture.hpp"

#include <QImage>

namespace fw {

struct Picture::Impl {
    QImage image;
};

const ClassTable& Picture::Lookup() {
    static const ClassTable table = MakeClassTable<Picture>("Picture", &Object::Lookup());
    return table;
}

Picture::Picture() : impl_(std::make_unique<Impl>()) {}
Picture::~Picture() = default;

std::int32_t Picture::Width() const { return impl_->image.width(); }
std::int32_t Picture::Height() const { return impl_->image.height(); }
const QImage& Picture::image() const { return impl_->image; }

std::shared_ptr<Picture> Picture::FromImage(const QImage& image) {
    auto picture = std::make_shared<Picture>();
    picture->impl_->image = image;
    return picture;
}

}  // namespace fw
