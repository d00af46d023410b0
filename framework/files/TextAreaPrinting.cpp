#include "Exceptions.hpp"
#include "QtBridge.hpp"
#include "StyledTextPrinter.hpp"
#include "TextArea.hpp"

#include <QTextDocument>
#include <QTextOption>
#include <QWidget>

namespace fw {

// The area shows its text without a document of its own; the printer gets one made from the
// text, in the area's font and alignment.
std::shared_ptr<StyledTextPrinter> TextArea::styledTextPrinter(Graphics& page, std::int32_t width) {
    const QWidget* shown = widget();
    // An area not yet constructed has no text to print.
    if (!shown) RaiseNilObjectException();
    QTextDocument text;
    text.setDefaultFont(shown->font());
    QTextOption option = text.defaultTextOption();
    option.setAlignment(qtbridge::horizontalAlignment(Alignment()));
    text.setDefaultTextOption(option);
    text.setPlainText(QString::fromStdString(qtbridge::crToLineFeeds(Text().view())));
    return StyledTextPrinter::Create(text, page, width);
}

}  // namespace fw
