#pragma once
#include "Object.hpp"

#include <cstdint>
#include <memory>

class QImage;

namespace fw {

// A decoded image, read by Qt's image readers (GIF included).
class Picture : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    Picture();
    ~Picture() override;

    std::int32_t Width() const;
    std::int32_t Height() const;
    const QImage& image() const;  // framework and tests only

private:
    friend class FolderItem;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
