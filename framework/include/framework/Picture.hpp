#pragma once
#include "Object.hpp"

#include <cstdint>
#include <memory>

class QImage;

namespace fw {

// A decoded image, read by Qt's image readers (GIF included). A picture never changes once
// made, so every holder shares the one object.
class Picture : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    Picture();
    ~Picture() override;

    std::int32_t Width() const;
    std::int32_t Height() const;
    const QImage& image() const;  // framework and tests only

    // A picture of an image already in memory (framework and tests only).
    static std::shared_ptr<Picture> FromImage(const QImage& image);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
