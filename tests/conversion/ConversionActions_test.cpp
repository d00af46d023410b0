// The two arrows as a user presses them: what reaches the conversion component, what lands in
// the target pane, and the inputs that must leave the window exactly as it was.

#include "UserActions.hpp"

#include "conversion/binding/Globals4.hpp"
#include "framework/Object.hpp"

#include <string>
#include <vector>

namespace radixel {
namespace {

using test::Click;
using test::ConversionWindowTest;
using test::EditOf;
using test::TypeInto;
using test::WaitForConversion;
using test::WindowTexts;

const std::string kExample1Decimal = "123456789123456789123456789123456789";
const std::string kExample1Hex = "17C6E3C032F89045AD746684045F15";
const std::string kUntouched = "left as it was";

enum class Arrow { LeftToRight, RightToLeft };

const char* NameOf(Arrow arrow) { return arrow == Arrow::LeftToRight ? "->" : "<-"; }

// What the user types for one conversion, by role; the arrow decides which side is which.
struct Entry {
    std::string sourceBase, targetBase, sourceText, targetPlaces;
};

class ConversionActionsTest : public ConversionWindowTest {
protected:
    // Fills every field and pane; the target pane and the source side's places field get
    // texts of their own so that any change to them shows.
    void Enter(Arrow arrow, const Entry& entry) {
        const bool rightward = arrow == Arrow::LeftToRight;
        TypeInto(EditOf(rightward ? window->TextFieldBaseLeft() : window->TextFieldBaseRight()), entry.sourceBase);
        TypeInto(EditOf(rightward ? window->TextFieldBaseRight() : window->TextFieldBaseLeft()), entry.targetBase);
        TypeInto(EditOf(rightward ? window->TextAreaLeft() : window->TextAreaRight()), entry.sourceText);
        TypeInto(EditOf(rightward ? window->TextAreaRight() : window->TextAreaLeft()), kUntouched);
        TypeInto(EditOf(rightward ? window->TextFieldNumPlacesRight() : window->TextFieldNumPlacesLeft()),
                 entry.targetPlaces);
        TypeInto(EditOf(rightward ? window->TextFieldNumPlacesLeft() : window->TextFieldNumPlacesRight()), "77");
    }

    void Press(Arrow arrow) { Click(arrow == Arrow::LeftToRight ? window->PushButton1() : window->PushButton2()); }

    std::string TargetText(Arrow arrow) {
        return (arrow == Arrow::LeftToRight ? window->TextAreaRight() : window->TextAreaLeft())->Text().bytes();
    }
    std::string SourceText(Arrow arrow) {
        return (arrow == Arrow::LeftToRight ? window->TextAreaLeft() : window->TextAreaRight())->Text().bytes();
    }
};

TEST_F(ConversionActionsTest, Example1ConvertsRightAndExample1bConvertsBack) {
    TypeInto(EditOf(window->TextFieldBaseLeft()), "10");
    TypeInto(EditOf(window->TextFieldBaseRight()), "16");
    TypeInto(EditOf(window->TextAreaLeft()), kExample1Decimal);
    TypeInto(EditOf(window->TextAreaRight()), "an old result\rover two lines");

    Click(window->PushButton1());
    WaitForConversion(*window);
    EXPECT_EQ(window->TextAreaRight()->Text().bytes(), kExample1Hex);
    EXPECT_EQ(window->TextAreaLeft()->Text().bytes(), kExample1Decimal);

    TypeInto(EditOf(window->TextAreaLeft()), "whatever the left pane held");
    Click(window->PushButton2());
    WaitForConversion(*window);
    EXPECT_EQ(window->TextAreaLeft()->Text().bytes(), kExample1Decimal);
    EXPECT_EQ(window->TextAreaRight()->Text().bytes(), kExample1Hex);
}

TEST_F(ConversionActionsTest, PlacesComeFromTheTargetSide) {
    TypeInto(EditOf(window->TextFieldBaseLeft()), "10");
    TypeInto(EditOf(window->TextFieldBaseRight()), "16");
    TypeInto(EditOf(window->TextFieldNumPlacesLeft()), "3");
    TypeInto(EditOf(window->TextFieldNumPlacesRight()), "8");
    TypeInto(EditOf(window->TextAreaLeft()), "1234.56789");

    Click(window->PushButton1());
    WaitForConversion(*window);
    EXPECT_EQ(window->TextAreaRight()->Text().bytes(), "4D2.91613D32");
    Click(window->PushButton2());
    WaitForConversion(*window);
    EXPECT_EQ(window->TextAreaLeft()->Text().bytes(), "1234.568");
}

TEST_F(ConversionActionsTest, InputThatFailsACheckChangesNothing) {
    const std::vector<std::pair<const char*, Entry>> cases = {
        {"source base 0", {"0", "16", "123", "8"}},
        {"source base negative", {"-10", "16", "123", "8"}},
        {"target base 0", {"10", "0", "123", "8"}},
        {"target base negative", {"10", "-2", "123", "8"}},
        {"both bases 0", {"0", "0", "123", "8"}},
        {"no bases typed", {"", "", "123", "8"}},
        {"a base that is no number", {"ten", "16", "123", "8"}},
        {"a base below 1 once read as an integer", {"0.9", "16", "123", "8"}},
        {"empty source pane", {"10", "16", "", "8"}},
        {"empty source pane and negative places", {"10", "16", "", "-1"}},
        {"negative places", {"10", "16", "123", "-1"}},
    };
    for (Arrow arrow : {Arrow::LeftToRight, Arrow::RightToLeft}) {
        for (const auto& [what, entry] : cases) {
            SCOPED_TRACE(std::string(NameOf(arrow)) + " with " + what);
            Enter(arrow, entry);
            const WindowTexts before = WindowTexts::Of(*window);
            Press(arrow);
            EXPECT_FALSE(window->Converting());
            QApplication::processEvents();
            EXPECT_EQ(WindowTexts::Of(*window), before);
        }
    }
}

TEST_F(ConversionActionsTest, AcceptedInputReachesTheConversionUnchanged) {
    struct Case {
        const char* what;
        Entry entry;
        std::int32_t baseTo, baseFrom, places;
    };
    const std::vector<Case> cases = {
        {"a blank alone", {"10", "16", " ", "8"}, 16, 10, 8},
        {"a line break alone", {"10", "16", "\r", "8"}, 16, 10, 8},
        {"Gray code as the target", {"10", "1", "5", "8"}, 1, 10, 8},
        {"Gray code as the source", {"1", "10", "111", "8"}, 10, 1, 8},
        {"a base above 65536", {"10", "65537", "5", "8"}, 65537, 10, 8},
        {"no places", {"10", "16", "1234.56789", "0"}, 16, 10, 0},
        {"a base field with a fraction", {"16.9", "10", "FF", "8"}, 10, 16, 8},
    };
    for (Arrow arrow : {Arrow::LeftToRight, Arrow::RightToLeft}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(NameOf(arrow)) + " with " + c.what);
            Enter(arrow, c.entry);
            const std::string source = SourceText(arrow);
            const std::string expected =
                Globals4::kxConvBase(fw::String(source), c.baseTo, c.baseFrom, c.places, true).bytes();
            Press(arrow);
            WaitForConversion(*window);
            EXPECT_EQ(TargetText(arrow), expected);
            EXPECT_EQ(SourceText(arrow), source);
        }
    }
}

// Logs each control that a conversion fetches, in the order it fetches them.
class ReadOrderWatch : public Window1 {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = [] {
            auto cls = fw::MakeClassTable<ReadOrderWatch>("ReadOrderWatch.ReadOrderWatch", &Window1::Lookup());
            cls.events = Window1::Lookup().events;
            return cls;
        }();
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }

    std::vector<std::string> fetched;

    std::shared_ptr<fw::TextField> TextFieldBaseLeft() override {
        return logged("TextFieldBaseLeft", Window1::TextFieldBaseLeft());
    }
    std::shared_ptr<fw::TextField> TextFieldBaseRight() override {
        return logged("TextFieldBaseRight", Window1::TextFieldBaseRight());
    }
    std::shared_ptr<fw::TextArea> TextAreaLeft() override { return logged("TextAreaLeft", Window1::TextAreaLeft()); }
    std::shared_ptr<fw::TextArea> TextAreaRight() override { return logged("TextAreaRight", Window1::TextAreaRight()); }
    std::shared_ptr<fw::TextField> TextFieldNumPlacesRight() override {
        return logged("TextFieldNumPlacesRight", Window1::TextFieldNumPlacesRight());
    }
    std::shared_ptr<fw::TextField> TextFieldNumPlacesLeft() override {
        return logged("TextFieldNumPlacesLeft", Window1::TextFieldNumPlacesLeft());
    }

private:
    template <class Control>
    std::shared_ptr<Control> logged(const char* name, std::shared_ptr<Control> control) {
        fetched.push_back(name);
        return control;
    }
};

TEST(ConversionReadOrderTest, EachDirectionReadsInTheOrderOfItsStepsAndStopsAtTheFirstFailedCheck) {
    auto window =
        fw::RuntimeCheckCast<ReadOrderWatch>(fw::RuntimeNewObject(ReadOrderWatch::Lookup()), ReadOrderWatch::Lookup());
    window->Constructor();
    struct Case {
        const char* what;
        Entry entry;
        std::size_t reads;  // how many of the direction's steps are reached
    };
    const std::vector<Case> cases = {
        {"a source base of 0", {"0", "16", "123", "8"}, 2},
        {"a target base of 0", {"10", "0", "123", "8"}, 2},
        {"an empty source pane", {"10", "16", "", "8"}, 3},
        {"negative places", {"10", "16", "123", "-1"}, 4},
        {"input that passes every check", {"10", "16", "123", "8"}, 5},
    };
    for (Arrow arrow : {Arrow::LeftToRight, Arrow::RightToLeft}) {
        const bool rightward = arrow == Arrow::LeftToRight;
        const std::vector<std::string> steps = {
            rightward ? "TextFieldBaseLeft" : "TextFieldBaseRight",
            rightward ? "TextFieldBaseRight" : "TextFieldBaseLeft",
            rightward ? "TextAreaLeft" : "TextAreaRight",
            rightward ? "TextFieldNumPlacesRight" : "TextFieldNumPlacesLeft",
            rightward ? "TextAreaRight" : "TextAreaLeft",
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(NameOf(arrow)) + " with " + c.what);
            TypeInto(EditOf(window->TextFieldBaseLeft()), rightward ? c.entry.sourceBase : c.entry.targetBase);
            TypeInto(EditOf(window->TextFieldBaseRight()), rightward ? c.entry.targetBase : c.entry.sourceBase);
            TypeInto(EditOf(rightward ? window->TextAreaLeft() : window->TextAreaRight()), c.entry.sourceText);
            TypeInto(EditOf(rightward ? window->TextFieldNumPlacesRight() : window->TextFieldNumPlacesLeft()),
                     c.entry.targetPlaces);
            window->fetched.clear();
            Click(rightward ? window->PushButton1() : window->PushButton2());
            EXPECT_EQ(window->fetched,
                      std::vector<std::string>(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(c.reads)));
            // The result is written into the target pane, fetched again when it comes.
            WaitForConversion(*window);
            if (c.reads == steps.size()) {
                EXPECT_EQ(window->fetched.size(), steps.size() + 1);
                EXPECT_EQ(window->fetched.back(), steps.back());
            } else {
                EXPECT_EQ(window->fetched.size(), c.reads);
            }
        }
    }
    window->Close();
    QApplication::processEvents();
}

}  // namespace
}  // namespace radixel
