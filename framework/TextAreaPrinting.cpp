#include "Exceptions.hpp"
#include "StyledTextPrinter.hpp"
#include "TextArea.hpp"

namespace fw {

std::shared_ptr<StyledTextPrinter> TextArea::styledTextPrinter(Graphics& page, std::int32_t width) {
    QTextDocument* text = document();
    // An area not yet constructed has no text to print.
    if (!text) RaiseNilObjectException();
    return StyledTextPrinter::Create(*text, page, width);
}

}  // namespace fw
