#include "conversion/binding/Globals4.hpp"
#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/Plugins.hpp"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

namespace {

namespace fs = std::filesystem;

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override { fw::SetPluginTrialHelper(RADIXEL_TEST_TRIAL_HELPER); }
    // Binds the way start-up does, with the plug-in folder pointed at the folder.
    std::string bindTo(const fs::path& folder) {
        fw::SetPluginFolder(folder);
        testing::internal::CaptureStderr();
        fw::InitPluginEntrypoints(&radixel::InitPluginEntrypoints);
        return testing::internal::GetCapturedStderr();
    }
    void TearDown() override {
        fw::SetPluginFolder({});
        fw::SetPluginTrialHelper({});
    }
};

std::int32_t outstandingEchoTexts() {
    void* entry = fw::RuntimeLookupPluginEntrypoint(fw::String("OutstandingTexts() As Integer"));
    return entry ? reinterpret_cast<std::int32_t (*)()>(entry)() : -1;
}

TEST_F(BindingTest, SignatureTextFindsTheConversionComponent) {
    EXPECT_EQ(radixel::kxConvBaseSignature(),
              fw::String("kxConvBase(inStr As String, baseTo As Integer, baseFrom As Integer, numPlaces As Integer, "
                         "toUpperCase As Boolean) As String"));
    EXPECT_EQ(radixel::kxConvBaseSignature().size(), 123u);
    EXPECT_EQ(bindTo(RADIXEL_BUNDLE_PLUGINS), "");
    ASSERT_NE(radixel::plugin_entrypoints, nullptr);
    EXPECT_NE(radixel::plugin_entrypoints[0], nullptr);
}

TEST_F(BindingTest, PassesTheFiveArgumentsInSignatureOrderAndReleasesEachAnswer) {
    ASSERT_EQ(bindTo(RADIXEL_TEST_ECHO_PLUGINS), "");
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    const std::string withZeroByte("a\0b", 3);
    const std::string longNumber(1'000'000, '7');
    struct Case {
        std::string inStr;
        std::int32_t baseTo, baseFrom, numPlaces;
        bool toUpperCase;
        std::string flags;
    };
    const Case cases[] = {
        {"1234.56789", 16, 10, 8, true, "baseTo=16 baseFrom=10 numPlaces=8 toUpperCase=1"},
        {"ff", 2, 16, 0, false, "baseTo=2 baseFrom=16 numPlaces=0 toUpperCase=0"},
        {"-1", lo, hi, -1, true,
         "baseTo=" + std::to_string(lo) + " baseFrom=" + std::to_string(hi) + " numPlaces=-1 toUpperCase=1"},
        {withZeroByte, 1, 65536, hi, false,
         "baseTo=1 baseFrom=65536 numPlaces=" + std::to_string(hi) + " toUpperCase=0"},
        {"\xC3\xA4<36>", 37, 65536, 3, true, "baseTo=37 baseFrom=65536 numPlaces=3 toUpperCase=1"},
        {longNumber, 16, 10, 8, true, "baseTo=16 baseFrom=10 numPlaces=8 toUpperCase=1"},
        {"", 10, 10, 8, true, "baseTo=10 baseFrom=10 numPlaces=8 toUpperCase=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("inStr of " + std::to_string(c.inStr.size()) + " bytes: " + c.inStr.substr(0, 20));
        fw::String answer =
            radixel::Globals4::kxConvBase(fw::String(c.inStr), c.baseTo, c.baseFrom, c.numPlaces, c.toUpperCase);
        EXPECT_EQ(answer.bytes(), "inStr=" + c.inStr + " (lent) " + c.flags);
    }
    EXPECT_EQ(outstandingEchoTexts(), 0);
}

TEST_F(BindingTest, MissingComponentIsReportedOnceAndAnsweredInText) {
    QTemporaryDir emptyFolder;
    const fs::path folder = emptyFolder.path().toStdString();
    const std::string report = bindTo(folder);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_EQ(report.back(), '\n');
    EXPECT_NE(report.find(folder.string()), std::string::npos) << report;
    ASSERT_NE(radixel::plugin_entrypoints, nullptr);
    EXPECT_EQ(radixel::plugin_entrypoints[0], nullptr);

    const std::string answer = radixel::Globals4::kxConvBase("12", 16, 10, 8, true).bytes();
    EXPECT_NE(answer.find("conversion component is missing"), std::string::npos) << answer;
    EXPECT_NE(answer.find(folder.string()), std::string::npos) << answer;
}

TEST_F(BindingTest, AComponentPassedOverIsNamedInTheAnswerWithTheReason) {
    QTemporaryDir temp;
    const fs::path folder = temp.path().toStdString();
    fs::copy_file(fs::path(RADIXEL_TEST_FAULT_PLUGINS) / "crash_when_called.so", folder / "conversion.so");
    const std::string report = bindTo(folder);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_EQ(radixel::Globals4::kxConvBase("12", 16, 10, 8, true).bytes(),
              "The conversion component is missing: no plug-in in \"" + folder.string() +
                  "\" provides kxConvBase (passed over: conversion.so: killed by signal 11 (Segmentation fault) when "
                  "tried).");
}

TEST_F(BindingTest, UnboundCallIsAnsweredInText) {
    radixel::plugin_entrypoints = nullptr;
    const std::string answer = radixel::Globals4::kxConvBase("12", 16, 10, 8, true).bytes();
    EXPECT_NE(answer.find("conversion component is missing"), std::string::npos) << answer;
}

TEST_F(BindingTest, WorkedExamplesThroughTheConversionComponent) {
    ASSERT_EQ(bindTo(RADIXEL_BUNDLE_PLUGINS), "");
    const std::string big = "123456789123456789123456789123456789";
    struct Example {
        const char* name;
        std::int32_t baseFrom, baseTo, numPlaces;
        std::string input, result;
    };
    const Example examples[] = {
        {"1", 10, 16, 8, big, "17C6E3C032F89045AD746684045F15"},
        {"1b", 16, 10, 8, "17C6E3C032F89045AD746684045F15", big},
        {"2", 10, 50, 8, big, "C<47>DM<41>F<49><43>T0KVAOYP9<37>WZ<39>"},
        {"3", 10, 1000, 8, big, "<123><456><789><123><456><789><123><456><789><123><456><789>"},
        {"4", 10, 16, 8, "1234.56789", "4D2.91613D32"},
        {"5", 10, 1, 8, "4", "110"},
        {"6", 10, 1, 8, "5", "111"},
        {"7", 10, 16, 8, "-1.2341234e20000", "-7.498C7FD9b^40E1"},
        {"8", 10, 16, 8, "2/3", "0.AAAAAAAB"},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(std::string("example ") + e.name + ": " + e.input);
        EXPECT_EQ(radixel::Globals4::kxConvBase(fw::String(e.input), e.baseTo, e.baseFrom, e.numPlaces, true).bytes(),
                  e.result);
    }
}

}  // namespace
