#include "info/HelpText.hpp"

#include "radixel/Version.hpp"

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace radixel {

namespace {

// One paragraph a line: the text area wraps them, and printing lays them out anew.
constexpr std::string_view kLines[] = {
    "Radixel",
    "",
    "Radixel converts a number, an integer or a non-integer, from one base into another. Any base "
    "from 2 to 65536 may be used, and a number may be as long as the available memory allows.",
    "",
    "The digits of a number are taken, in this order, from the following sequence; a digit from 36 "
    "upwards is written as its value in angle brackets:",
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ<36><37>...<65534><65535>",
    "",
    "Letter digits may be typed in lower or upper case: in base 16, ff and FF are the same number. "
    "Results are written in upper case.",
    "To convert an integer, type 10 into the left \"Base:\" box and 16 into the right \"Base:\" box, "
    "then copy this number and paste it into the left scrolling text box:",
    "123456789123456789123456789123456789",
    "",
    "Click the right arrow button, and the right scrolling text box shows the same number in base 16:",
    "",
    "17C6E3C032F89045AD746684045F15",
    "",
    "To check the result, clear the left scrolling text box and click the left arrow button: the "
    "decimal number comes back into the left box.",
    "",
    "Now type 50 into the right \"Base:\" box and click the right arrow button again. In base 50 the "
    "number reads:",
    "",
    "C<47>DM<41>F<49><43>T0KVAOYP9<37>WZ<39>",
    "",
    "Type 1000 into the right \"Base:\" box and click the right arrow button once more. In base 1000 "
    "each digit stands for three decimal digits:",
    "",
    "<123><456><789><123><456><789><123><456><789><123><456><789>",
    "A positive number with a base point converts as well. Type 16 into the right \"Base:\" box "
    "again, and copy this number into the left scrolling text box in place of the integer:",
    "1234.56789",
    "",
    "Leave the default 8 in the right box labelled \"Limit to places after base point:\" and click "
    "the right arrow button. The result is:",
    "",
    "4D2.91613D32",
    "",
    "The result has 8 places after the base point, the last of them rounded. Click the left arrow "
    "button to check it: 1234.56789 comes back.",
    "",
    "Going into a smaller base needs more places after the base point for the same accuracy, and "
    "going into a larger base needs fewer; Radixel applies the limit as it stands and does not "
    "scale it by the two bases. To keep the accuracy of a number given to a certain number of "
    "places in its own base, set the limit to that number of places times log(baseFrom)/log(baseTo), "
    "rounded up. For example, 0.8 given to eight decimal places needs about 27 binary places, since "
    "8 times log(10)/log(2) is 26.6.",
    "In a Gray code, consecutive integers differ in one bit only. Radixel implements the "
    "binary-reflected Gray code, which a base of 1 selects; it works for integers only.",
    "",
    "Type 10 into the left \"Base:\" box and 1 into the right \"Base:\" box, type 4 into the left "
    "scrolling text box and click the right arrow button. The result is:",
    "",
    "110",
    "",
    "Now type 5 into the left scrolling text box in place of the 4 and click the right arrow button "
    "again. The result is:",
    "",
    "111",
    "",
    "From 4 to 5 only one bit has changed, the last one.",
    "",
    "Floating Point:",
    "A number may carry an exponent. Type 10 into the left \"Base:\" box and 16 into the right "
    "\"Base:\" box, and type this number into the left scrolling text box:",
    "",
    "-1.2341234e20000",
    "",
    "Click the right arrow button. The result is:",
    "",
    "-7.498C7FD9b^40E1",
    "",
    "In bases other than 10, \"b^\" stands in place of \"e\" and is read as \"times the base to the "
    "power of\"; the exponent is written in the same base. Here the result means -7.498C7FD9 times "
    "16 to the power of 40E1, and 40E1 in base 16 is 16609.",
    "",
    "",
    "Fractions:",
    "",
    "Fractions are accepted in every base, written as numerator/denominator. For example, 2/3 in "
    "base 10 with 8 places gives 0.AAAAAAAB in base 16.",
    "",
    "Likewise, 1B/2CF in base 16 with 34 places gives "
    "0.0375521557719054242002781641168289 in base 10.",
    "",
    "",
    "Radixel",
    "Version " RADIXEL_VERSION,
    "(c) 2026 Radixel authors",
    "Made by the Radixel team",
    "Thank you for using Radixel.",
};
// The layout refers to lines by number; a lost or doubled line would shift all that follow.
static_assert(std::size(kLines) == 70);

}  // namespace

fw::String HelpText() {
    std::size_t size = std::size(kLines) - 1;
    for (std::string_view line : kLines) size += line.size();
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        if (i > 0) text += '\r';
        text += kLines[i];
    }
    return fw::String(std::move(text));
}

}  // namespace radixel
