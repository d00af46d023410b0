// Lines, not blocks, are the unit of printing: a paragraph may run over several pages, but a
// line is never split between two, and each DrawBlock takes as many whole lines as fit.

#include "StyledTextPrinter.hpp"

#include "Exceptions.hpp"
#include "Graphics.hpp"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <vector>

namespace fw {

namespace {

// Layout positions are fractional; a run that fits but for rounding still fits.
constexpr double FitTolerance = 1e-3;

// Breaking at word boundaries, Qt looks for the next boundary from each line's start to the
// end of an unbroken run, which makes a long run (a number of a million digits) take time
// that grows with the square of its length. Past this length the printed copy breaks
// anywhere instead, which costs the same per line whatever the run.
constexpr int LongestRunForWordWrap = 1024;

int longestUnbrokenRun(const QTextDocument& document) {
    int longest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        int run = 0;
        for (const QChar c : block.text()) {
            run = c.isSpace() ? 0 : run + 1;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

class DocumentPrinter final : public StyledTextPrinter {
public:
    DocumentPrinter(const QTextDocument& text, Graphics& page, std::int32_t width)
        : document_(text.clone()),
          page_(&page),
          pageOwner_(page.weak_from_this()),
          pageWasShared_(!pageOwner_.expired()) {
        QAbstractTextDocumentLayout* layout = document_->documentLayout();
        if (QPainter* painter = page.painter(); painter && painter->device()) layout->setPaintDevice(painter->device());
        // The page's width is the measure, even for an area shown unwrapped beside a
        // horizontal scroll bar.
        QTextOption option = document_->defaultTextOption();
        option.setWrapMode(longestUnbrokenRun(*document_) > LongestRunForWordWrap
                               ? QTextOption::WrapAnywhere
                               : QTextOption::WrapAtWordBoundaryOrAnywhere);
        document_->setDefaultTextOption(option);
        // A width below one unit would leave no room for any glyph; one unit still breaks
        // after every character and so terminates.
        document_->setTextWidth(std::max<std::int32_t>(width, 1));
        collectLines();
    }

    void DrawBlock(std::int32_t x, std::int32_t y, std::int32_t height) override {
        if (pageWasShared_ && pageOwner_.expired()) RaiseNilObjectException();
        if (next_ >= lines_.size()) return;
        const double runTop = lines_[next_].top;
        std::size_t end = next_ + 1;
        while (end < lines_.size() && lines_[end].bottom - runTop <= height + FitTolerance) ++end;

        if (QPainter* painter = page_->painter()) {
            painter->save();
            painter->setPen(Qt::black);
            for (std::size_t i = next_; i < end; ++i) {
                const Line& line = lines_[i];
                QTextLayout* blockLayout = line.block.layout();
                const QPointF origin = blockLayout->position() + QPointF(x, y - runTop);
                blockLayout->lineAt(line.index).draw(painter, origin);
            }
            painter->restore();
        }
        next_ = end;
    }

    bool Eof() const override { return next_ >= lines_.size(); }

private:
    struct Line {
        QTextBlock block;
        int index;   // within the block's layout
        double top;  // in document coordinates
        double bottom;
    };

    void collectLines() {
        // Asking for the size finishes the layout of the whole document.
        document_->size();
        for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
            QTextLayout* blockLayout = block.layout();
            if (!block.isVisible() || !blockLayout) continue;
            const double blockTop = blockLayout->position().y();
            for (int i = 0; i < blockLayout->lineCount(); ++i) {
                const QTextLine line = blockLayout->lineAt(i);
                lines_.push_back({block, i, blockTop + line.y(), blockTop + line.y() + line.height()});
            }
        }
    }

    std::unique_ptr<QTextDocument> document_;
    Graphics* page_;
    std::weak_ptr<Object> pageOwner_;
    bool pageWasShared_;
    std::vector<Line> lines_;
    std::size_t next_ = 0;
};

}  // namespace

const ClassTable& StyledTextPrinter::Lookup() {
    static const ClassTable table = [] {
        ClassTable t;
        t.fullName = "StyledTextPrinter";
        t.parent = &Object::Lookup();
        return t;
    }();
    return table;
}

std::shared_ptr<StyledTextPrinter> StyledTextPrinter::Create(const QTextDocument& text, Graphics& page,
                                                             std::int32_t width) {
    return std::make_shared<DocumentPrinter>(text, page, width);
}

}  // namespace fw
