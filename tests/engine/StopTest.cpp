// A stop from another thread ends the conversions running at that moment, from any point of
// their work, with the stop's answer; nothing they held is left behind (the sanitizer build's
// leak check watches over that), and the conversions after it are right.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "engine/convert.hpp"

namespace radixel::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct LongWork {
    const char* name;
    std::string input;
    std::int32_t from;
    std::int32_t to;
    std::int32_t places;
};

std::string digitRun(std::size_t count, char first, char rest) {
    std::string digits(count, rest);
    digits.front() = first;
    return digits;
}

// Each spends its time in another part of the engine: reading, GMP's codecs and the engine's own
// above base 256, the power table, rounding to many places, regrouping, Gray code and writing.
std::vector<LongWork> longWork() {
    return {
        {"decimal to hex", digitRun(1500000, '7', '3'), 10, 16, 8},
        {"hex to decimal", digitRun(1000000, 'F', 'A'), 16, 10, 8},
        {"decimal to base 50000", digitRun(1000000, '9', '1'), 10, 50000, 8},
        {"base 65535 to decimal", "<65534>" + std::string(150000, '1'), 65535, 10, 8},
        {"a third in binary places", "1/3", 10, 2, 20000000},
        {"a point in base 7", "0." + digitRun(500000, '1', '4'), 10, 7, 500000},
        {"an exponent", "1.5e-4000000", 10, 7, 8},
        {"octal to hex", digitRun(10000000, '7', '5'), 8, 16, 8},
        {"Gray code", digitRun(8000000, '1', '0'), 1, 1, 8},
        {"blanks to read", "1" + std::string(20000000, ' ') + "2", 10, 16, 8},
    };
}

std::string convertWork(const LongWork& work) { return convert(work.input, work.to, work.from, work.places, true); }

// Stops until the answer is there: a thread that a loaded machine starts late still meets one.
std::string stopAfter(std::future<std::string>& answer, Clock::duration delay) {
    std::this_thread::sleep_for(delay);
    do {
        stopConversions();
    } while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready);
    return answer.get();
}

TEST(Stop, EndsARunningConversionFromAnyPointAndTheNextOneIsRight) {
    for (const LongWork& work : longWork()) {
        std::string expected;
        Clock::duration duration = Clock::duration::max();
        for (int run = 0; run < 2; ++run) {
            const Clock::time_point start = Clock::now();
            expected = convertWork(work);
            duration = std::min(duration, Clock::now() - start);
        }
        ASSERT_NE(expected, kStopped) << work.name;
        for (int tenth = 1; tenth < 10; tenth += 2) {
            std::future<std::string> answer = std::async(std::launch::async, [&work] { return convertWork(work); });
            const std::string result = stopAfter(answer, duration * tenth / 10);
            const std::string when =
                std::string(work.name) + ", stopped at " + std::to_string(tenth) + "/10 of its time";
            // Early stops come well before the end; later ones may find the work done.
            EXPECT_TRUE(result == kStopped || (tenth > 3 && result == expected))
                << when << ": " << result.substr(0, 60);
            EXPECT_TRUE(convertWork(work) == expected) << "the conversion after that: " << when;
        }
    }
}

// A stop reaches the conversions running when it is made, not those that start after it, nor
// other work's short conversions on the same or other threads.
TEST(Stop, AConversionThatStartsAfterAStopRunsAsUsual) {
    stopConversions();
    EXPECT_EQ(convert("-1.2341234e20000", 16, 10, 8, true), "-7.498C7FD9b^40E1");
    std::future<std::string> elsewhere = std::async(std::launch::async, [] {
        stopConversions();
        return convert("2/3", 16, 10, 8, true);
    });
    EXPECT_EQ(elsewhere.get(), "0.AAAAAAAB");
    EXPECT_EQ(convert("123456789123456789123456789123456789", 16, 10, 8, true), "17C6E3C032F89045AD746684045F15");
}

// Several conversions at once on several threads all end at one stop.
TEST(Stop, EndsEveryConversionRunningAtTheTime) {
    const std::vector<LongWork> work = longWork();
    std::vector<std::future<std::string>> answers;
    for (const LongWork& one : work) {
        answers.push_back(std::async(std::launch::async, [&one] { return convertWork(one); }));
    }
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const std::string result = stopAfter(answers[i], std::chrono::milliseconds(5));
        EXPECT_TRUE(result == kStopped) << work[i].name << ": " << result.substr(0, 60);
    }
}

}  // namespace
}  // namespace radixel::testing
