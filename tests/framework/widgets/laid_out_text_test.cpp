#include "WidgetTestSupport.hpp"

#include "framework/LaidOutText.hpp"
#include "framework/TextView.hpp"

#include <QFont>

#include <string>
#include <thread>
#include <vector>

using namespace widgettest;

namespace {

std::vector<qsizetype> lineStarts(const fw::TextView& view) {
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < view.lineCount(); ++i) starts.push_back(view.lineStart(i));
    return starts;
}

// A number and prose with line breaks written all three ways.
QString mixedText() {
    QString text;
    for (int i = 0; i < 3000; ++i) text += QString::number(i * 7919) + (i % 7 ? " " : i % 2 ? "\r\n" : "\r");
    return text + QString(300'000, QLatin1Char('7'));
}

using LaidOutTexts = WidgetTest;

// A text laid out on another thread is taken as it is; where the view's width or font changed
// since, the view lays it out again. Either way the view ends as setText would leave it.
TEST_F(LaidOutTexts, ATextLaidOutOnAnotherThreadShowsAsSetTextWouldShowIt) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    auto reference = window->add<fw::TextArea>("Reference", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    fw::TextView* expected = viewOf(*reference);
    const struct {
        const char* what;
        std::function<void()> between;  // what happens to the view while the text is laid out
    } cases[] = {
        {"nothing", [] {}},
        {"the view grew wider",
         [&] {
             view->resize(300, 196);
             expected->resize(300, 196);
         }},
        {"the view's font changed",
         [&] {
             QFont larger = view->font();
             larger.setPixelSize(19);
             view->setFont(larger);
             expected->setFont(larger);
         }},
        {"the view stopped wrapping",
         [&] {
             view->setWrapping(false);
             expected->setWrapping(false);
         }},
    };
    for (const auto& c : cases) {
        area->SetText("an old text");
        view->insertText("typed");
        const fw::TextLayoutSettings settings = view->layoutSettings();
        fw::LaidOutText ready;
        std::thread([&] { ready = fw::LaidOutText(mixedText(), settings); }).join();
        c.between();
        const fw::LaidOutText old = view->setLaidOutText(std::move(ready));
        expected->setText(mixedText());

        EXPECT_EQ(old.buffer().toString(), "typedan old text") << c.what;
        EXPECT_EQ(view->text(), expected->text()) << c.what << ": CR LF and CR read as LF";
        EXPECT_FALSE(view->text().contains(QLatin1Char('\r'))) << c.what;
        EXPECT_EQ(lineStarts(*view), lineStarts(*expected)) << c.what;
        EXPECT_EQ(view->cursorPosition(), 0) << c.what;
        view->undo();
        EXPECT_EQ(view->text(), expected->text()) << c.what << ": a new text has no history";
        view->setCursorPosition(view->buffer().size());
        view->insertText("5");
        expected->setCursorPosition(expected->buffer().size());
        expected->insertText("5");
        EXPECT_EQ(lineStarts(*view), lineStarts(*expected)) << c.what << ": and is edited as any other";
    }
}

}  // namespace
