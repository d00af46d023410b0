#include "WidgetTestSupport.hpp"

#include "framework/Canvas.hpp"
#include "framework/Label.hpp"
#include "framework/Picture.hpp"
#include "framework/RoundRectangle.hpp"
#include "framework/TextField.hpp"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <functional>
#include <string>
#include <vector>

using namespace widgettest;

namespace {

QPlainTextEdit* editOf(const fw::TextArea& area) { return qobject_cast<QPlainTextEdit*>(area.widget()); }

// A handler target that raises from its KeyDown.
class Raiser : public fw::Object {
public:
    bool KeyDown(std::shared_ptr<fw::TextArea>, fw::String) { throw fw::RuntimeException("RuntimeException: handler broke"); }
    void Action(std::shared_ptr<fw::PushButton>) {}
};

}  // namespace

using TextControls = WidgetTest;

TEST_F(TextControls, CarriageReturnsShowAsLineBreaksAndReadBackAsCarriageReturns) {
    auto window = Scratch();
    auto label = window->add<fw::Label>("Label", fw::Record({{"Text", "Radixel 4.3\rline two\r\nline three"}}));
    EXPECT_EQ(qobject_cast<QLabel*>(label->widget())->text(), "Radixel 4.3\nline two\nline three");
    EXPECT_EQ(label->Text().bytes(), "Radixel 4.3\rline two\r\nline three");

    auto area = window->add<fw::TextArea>("Area", fw::String());
    struct Case {
        std::string set, readBack;
        int blocks;
    };
    const Case cases[] = {
        {"one\rtwo\r\nthree\nfour", "one\rtwo\rthree\rfour", 4},
        {"\r\r", "\r\r", 3},
        {"no\xC2\xA0" "break \xE2\x82\xAC", "no\xC2\xA0" "break \xE2\x82\xAC", 1},
        {"", "", 1},
    };
    for (const Case& c : cases) {
        area->SetText(c.set);
        EXPECT_EQ(area->Text().bytes(), c.readBack) << c.set;
        EXPECT_EQ(area->document()->blockCount(), c.blocks) << c.set;
    }
}

TEST_F(TextControls, NumbersWrapAnywhereAndProseWrapsBetweenWords) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    QPlainTextEdit* edit = editOf(*area);

    area->SetText(std::string(5000, '7'));
    EXPECT_EQ(edit->wordWrapMode(), QTextOption::WrapAnywhere);

    std::string prose;
    for (int i = 0; i < 60; ++i) prose += "word" + std::to_string(i) + " ";
    area->SetText(prose);
    EXPECT_EQ(edit->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->grab();
    const QTextBlock block = area->document()->firstBlock();
    ASSERT_GT(block.layout()->lineCount(), 2);
    for (int i = 1; i < block.layout()->lineCount(); ++i) {
        const int start = block.layout()->lineAt(i).textStart();
        EXPECT_EQ(block.text().at(start - 1), QLatin1Char(' ')) << "line " << i << " starts inside a word";
    }

    // The user's edits choose again: a pasted number, its removal, and undoing that.
    QTextCursor cursor(area->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString(3000, QLatin1Char('9')));
    EXPECT_EQ(edit->wordWrapMode(), QTextOption::WrapAnywhere);
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 3000);
    cursor.removeSelectedText();
    EXPECT_EQ(edit->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    area->document()->undo();
    EXPECT_EQ(edit->wordWrapMode(), QTextOption::WrapAnywhere);
    EXPECT_EQ(area->Text().bytes(), prose + std::string(3000, '9'));
}

// Word wrapping lays out a long run in time that grows with its square, so the run must be
// wrapped anywhere from its very first layout: switching afterwards is too late. Each layout
// that changes the document's size is watched (so the texts below differ in length), and the
// wrapping of every long block noted.
class LongBlockLayouts {
public:
    explicit LongBlockLayouts(QTextDocument* text) {
        watch_ = QObject::connect(text->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, [this, text] {
            for (QTextBlock block = text->begin(); block.isValid(); block = block.next())
                if (block.length() > 1000 && block.layout()->lineCount() > 0)
                    modes.push_back(block.layout()->textOption().wrapMode());
        });
    }
    ~LongBlockLayouts() { QObject::disconnect(watch_); }
    LongBlockLayouts(const LongBlockLayouts&) = delete;
    LongBlockLayouts& operator=(const LongBlockLayouts&) = delete;

    std::vector<QTextOption::WrapMode> modes;

private:
    QMetaObject::Connection watch_;
};

TEST_F(TextControls, ALongRunIsWrappedAnywhereFromItsFirstLayoutWhateverTheAreaHeld) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    QPlainTextEdit* edit = editOf(*area);
    const std::string number(3000, '7');
    std::string prose;
    for (int paragraph = 0; paragraph < 4; ++paragraph) {
        for (int i = 0; i < 60; ++i) prose += "word" + std::to_string(i) + " ";
        prose += "\r";
    }
    const struct {
        const char* name;
        std::string text;
    } before[] = {{"empty", ""}, {"one digit", "5"}, {"prose", prose}, {"a shorter number", std::string(2000, '8')}};
    const struct {
        const char* name;
        std::function<void()> bring;
        std::function<std::string(const std::string& held)> expected;
    } ways[] = {
        {"SetText", [&] { area->SetText(number); }, [&](const std::string&) { return number; }},
        {"the edit's own setPlainText", [&] { edit->setPlainText(QString::fromStdString(number)); },
         [&](const std::string&) { return number; }},
        {"pasted over all",
         [&] {
             QApplication::clipboard()->setText(QString::fromStdString(number));
             edit->selectAll();
             edit->paste();
         },
         [&](const std::string&) { return number; }},
        {"pasted at the end",
         [&] {
             QApplication::clipboard()->setText(QString::fromStdString(number));
             edit->moveCursor(QTextCursor::End);
             edit->paste();
         },
         [&](const std::string& held) { return held + number; }},
        {"typed over all, undone and redone",
         [&] {
             edit->selectAll();
             edit->insertPlainText(QString::fromStdString(number));
             edit->undo();
             edit->grab();
             edit->redo();
         },
         [&](const std::string&) { return number; }},
    };
    for (const auto& held : before) {
        for (const auto& way : ways) {
            SCOPED_TRACE(std::string(way.name) + " into an area holding " + held.name);
            area->SetText(held.text);
            edit->grab();
            LongBlockLayouts layouts(area->document());
            way.bring();
            edit->grab();
            EXPECT_EQ(area->Text().bytes(), way.expected(held.text));
            ASSERT_FALSE(layouts.modes.empty()) << "no layout of the long block was seen";
            for (QTextOption::WrapMode mode : layouts.modes) EXPECT_EQ(mode, QTextOption::WrapAnywhere);
        }
    }
}

TEST_F(TextControls, KeyDownSeesEveryKeyAndTrueConsumesIt) {
    std::shared_ptr<fw::TextArea> area;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        area = w.add<fw::TextArea>("Area", fw::String());
        w.attachKeyDown(area);
    };
    auto window = Scratch();
    QWidget* edit = area->widget();

    ScratchWindow::consumeKeys = true;
    typeText(edit, "ab");
    EXPECT_EQ(area->Text().bytes(), "") << "consumed keys do not reach the text";
    ScratchWindow::consumeKeys = false;
    typeText(edit, "cd");
    EXPECT_EQ(area->Text().bytes(), "cd");
    EXPECT_EQ(ScratchWindow::keys, (std::vector<std::string>{"a", "b", "c", "d"}));

    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text;  // as the desktop gives it
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {Qt::Key_Left, Qt::NoModifier, "", {"\x1C"}},       {Qt::Key_Down, Qt::NoModifier, "", {"\x1F"}},
        {Qt::Key_Return, Qt::NoModifier, "\r", {"\r"}},     {Qt::Key_Backspace, Qt::NoModifier, "\b", {"\b"}},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", {"\x7F"}}, {Qt::Key_Home, Qt::NoModifier, "", {"\x01"}},
        {Qt::Key_Shift, Qt::ShiftModifier, "", {}},          {Qt::Key_C, Qt::ControlModifier, "\x03", {}},
        {Qt::Key_Eacute, Qt::NoModifier, "\u00e9", {"\xC3\xA9"}},
    };
    ScratchWindow::consumeKeys = true;
    for (const Case& c : cases) {
        ScratchWindow::keys.clear();
        pressKey(edit, c.key, c.modifiers, c.text);
        EXPECT_EQ(ScratchWindow::keys, c.seen) << "key " << c.key;
    }
}

TEST_F(TextControls, AKeyDownHandlerThatRaisesIsReportedAndTheKeyGoesThrough) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::String());
    auto raiser = std::make_shared<Raiser>();
    fw::RuntimeAddEventHandler(*area, fw::events::TextAreaKeyDown,
                               fw::RuntimeCreateDelegate(&Raiser::KeyDown, raiser, "( TextArea, String ) as Boolean",
                                                         fw::DelegateKind::Strong));
    testing::internal::CaptureStderr();
    typeText(area->widget(), "x");
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("handler broke"), std::string::npos) << report;
    EXPECT_EQ(area->Text().bytes(), "x");
}

TEST_F(TextControls, TypingStopsAtLimitTextButTheProgramsTextIsKeptWhole) {
    auto window = Scratch();
    auto field = window->add<fw::TextField>("Field", fw::Record({{"Text", "12345"}, {"LimitText", 3}}));
    auto* line = qobject_cast<QLineEdit*>(field->widget());
    line->end(false);
    typeText(line, "6");
    EXPECT_EQ(field->Text().bytes(), "12345");
    pressKey(line, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(field->Text().bytes(), "1234") << "the user can still shorten it";
    field->SetText("");
    typeText(line, "abcdef");
    EXPECT_EQ(field->Text().bytes(), "abc");

    auto area = window->add<fw::TextArea>("Area", fw::Record({{"LimitText", 4}}));
    typeText(area->widget(), "abcdef");
    EXPECT_EQ(area->Text().bytes(), "abcd");
    area->SetText("");
    QApplication::clipboard()->setText("123456789");
    if (QApplication::clipboard()->text() == "123456789") {
        editOf(*area)->paste();
        EXPECT_EQ(area->Text().bytes(), "1234");
    }
}

TEST_F(TextControls, FieldItemsReachTheLineEdit) {
    auto window = Scratch();
    auto field = window->add<fw::TextField>(
        "Field", fw::Record({{"Password", true}, {"CueText", "base"}, {"ReadOnly", true}, {"Alignment", 3}, {"Border", false},
                             {"TextColor", fw::Color::FromRGB(0x112233)}, {"HelpTag", "The base"}}));
    auto* line = qobject_cast<QLineEdit*>(field->widget());
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_EQ(line->placeholderText(), "base");
    EXPECT_TRUE(line->isReadOnly());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
    EXPECT_FALSE(line->hasFrame());
    EXPECT_EQ(line->palette().color(QPalette::Text), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(line->toolTip(), "The base");
    const std::string longNumber(100000, '1');
    field->SetText(longNumber);
    EXPECT_EQ(field->Text().bytes(), longNumber) << "no built-in length limit";
}

TEST_F(TextControls, FontsFollowTheFontItemsWithSystemAsTheDesktopsFont) {
    auto window = Scratch();
    auto label = window->New(fw::Label::Lookup());
    label->Constructor();
    window->AddControl("Label", label);
    auto found = fw::RuntimeCheckCast<fw::Label>(window->ControlByName("Label"), fw::Label::Lookup());
    found->SetTextSize(14.0f);
    found->SetTextUnit(fw::FontUnits::Default);
    fw::SetProperties(found, fw::Record({{"TextFont", "System"}, {"Bold", true}, {"Italic", true}, {"Underline", false},
                                         {"Selectable", false}, {"Multiline", true}}));
    const QFont font = found->widget()->font();
    EXPECT_EQ(font.family(), QApplication::font().family());
    EXPECT_EQ(font.pixelSize(), 14);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    auto* shown = qobject_cast<QLabel*>(found->widget());
    EXPECT_TRUE(shown->wordWrap());
    EXPECT_EQ(shown->textInteractionFlags(), Qt::NoTextInteraction);
    found->SetTextSize(0);
    EXPECT_EQ(found->widget()->font().pointSizeF(), QApplication::font().pointSizeF());

    struct Unit {
        fw::FontUnits unit;
        float size;
        int pixels;
        double points;  // -1 where the size is given in pixels
    };
    const Unit units[] = {
        {fw::FontUnits::Default, 14, 14, -1}, {fw::FontUnits::Pixel, 9, 9, -1},
        {fw::FontUnits::Point, 14, -1, 14},   {fw::FontUnits::Inch, 0.5f, -1, 36},
    };
    for (const Unit& u : units) {
        found->SetTextUnit(u.unit);
        found->SetTextSize(u.size);
        const QFont sized = found->widget()->font();
        EXPECT_EQ(sized.pixelSize(), u.pixels) << "unit " << int(u.unit);
        EXPECT_EQ(sized.pointSizeF(), u.points) << "unit " << int(u.unit);
    }
}

using Buttons = WidgetTest;

TEST_F(Buttons, AClickRunsTheActionOnceWithTheButtonAndADisabledButtonNothing) {
    std::shared_ptr<fw::PushButton> button;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        button = w.add<fw::PushButton>("PushButton1", fw::Record({{"Name", "PushButton1"}, {"Caption", "->"}}));
        w.attachPressed(button);
    };
    auto window = Scratch();
    qobject_cast<QPushButton*>(button->widget())->click();
    EXPECT_EQ(ScratchWindow::pressed, (std::vector<std::string>{"PushButton1"}));
    button->Push();
    EXPECT_EQ(ScratchWindow::pressed.size(), 2u);
    button->SetEnabled(false);
    button->Push();
    qobject_cast<QPushButton*>(button->widget())->click();
    EXPECT_EQ(ScratchWindow::pressed.size(), 2u);
}

TEST_F(Buttons, AWeakActionWhoseWindowIsGoneRaisesIsReportedAndRunsNothing) {
    std::shared_ptr<fw::PushButton> button;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        button = w.add<fw::PushButton>("PushButton1", fw::String());
        w.attachPressed(button);
    };
    std::weak_ptr<ScratchWindow> window = Scratch();
    window.lock()->Close();
    flushDeletes();
    ASSERT_TRUE(window.expired());
    testing::internal::CaptureStderr();
    button->Push();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("NilObjectException"), std::string::npos) << report;
    EXPECT_TRUE(ScratchWindow::pressed.empty());
}

TEST_F(Buttons, AttachingRefusesADelegateOfTheWrongTypeOrEvent) {
    auto window = Scratch();
    auto button = window->add<fw::PushButton>("Button", fw::String());
    auto area = window->add<fw::TextArea>("Area", fw::String());
    auto raiser = std::make_shared<Raiser>();
    auto keyDown = fw::RuntimeCreateDelegate(&Raiser::KeyDown, raiser, "( TextArea, String ) as Boolean", fw::DelegateKind::Weak);
    auto action = fw::RuntimeCreateDelegate(&Raiser::Action, raiser, "( PushButton )", fw::DelegateKind::Weak);
    EXPECT_THROW(fw::RuntimeAddEventHandler(*button, fw::events::PushButtonAction, keyDown), fw::RuntimeException);
    EXPECT_THROW(fw::RuntimeAddEventHandler(*area, fw::events::TextAreaKeyDown, action), fw::RuntimeException);
    EXPECT_THROW(fw::RuntimeAddEventHandler(*area, fw::events::PushButtonAction, action), fw::RuntimeException);
    EXPECT_THROW(fw::RuntimeAddEventHandler(*button, 99, action), fw::RuntimeException);
    EXPECT_THROW(fw::RuntimeAddEventHandler(*button, fw::events::PushButtonAction, nullptr), fw::NilObjectException);
    EXPECT_NO_THROW(fw::RuntimeAddEventHandler(*button, fw::events::PushButtonAction, action));
    EXPECT_FALSE(area->KeyDown("x")) << "no KeyDown handler: the key goes through";
}

using Drawing = WidgetTest;

TEST_F(Drawing, ACanvasDrawsItsBackdropAtTheTopLeftOrNothing) {
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    auto window = Scratch();
    auto canvas = window->add<fw::Canvas>("Canvas1", fw::Record({{"Width", 10}, {"Height", 10}}));
    EXPECT_NE(canvas->widget()->grab().toImage().pixelColor(1, 1), QColor(Qt::red));
    canvas->SetBackdrop(fw::Picture::FromImage(red));
    const QImage shown = canvas->widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(8, 8), QColor(Qt::red));
    canvas->SetBackdrop(nullptr);
    EXPECT_NE(canvas->widget()->grab().toImage().pixelColor(1, 1), QColor(Qt::red));
}

TEST_F(Drawing, ARoundRectangleDrawsItsFillBorderAndRoundedCorners) {
    auto window = Scratch();
    auto box = window->add<fw::RoundRectangle>(
        "RoundRectangle1", fw::Record({{"Width", 100}, {"Height", 50}, {"FillColor", fw::Color::FromRGB(0x00FF00)},
                                       {"BorderWidth", 3}, {"BorderColor", fw::Color::FromRGB(0x0000FF)},
                                       {"OvalWidth", 16}, {"OvalHeight", 16}}));
    const QImage shown = box->widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(50, 25), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(1, 25), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelColor(50, 48), QColor(0, 0, 255));
    EXPECT_NE(shown.pixelColor(0, 0), QColor(0, 0, 255)) << "the corner is cut by the oval";
    EXPECT_NE(shown.pixelColor(0, 0), QColor(0, 255, 0));
}
