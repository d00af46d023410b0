#pragma once
// The inside of a PreparedText, which only the text area that takes it sees (framework use).

#include "PreparedText.hpp"

#include <QString>

namespace fw {

struct PreparedText::Impl {
    QString text;
    bool held = true;
};

}  // namespace fw
