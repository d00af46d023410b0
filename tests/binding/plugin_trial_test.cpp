// A damaged or faulty component never takes the program down unexplained: the probe, which
// starts as Radixel does, is run from bundles whose component fails in one way each.

#include "ProbeBundle.hpp"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace radixel::probe;

fs::path faulty(const std::string& name) { return fs::path(RADIXEL_TEST_FAULT_PLUGINS) / (name + ".so"); }

std::string killedBy(int signal) {
    return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

class PluginTrialTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        root = fs::canonical(temp.path().toStdString());
        fs::create_directories(root / "scratch");
    }
    // A fresh bundle with these modules, and the probe run from it.
    Outcome runWith(const std::vector<Module>& modules, const std::vector<std::string>& arguments = {},
                    bool withHelper = true) {
        fs::remove_all(root / "Radixel");
        makeBundle(root / "Radixel", modules, withHelper);
        return run(root / "Radixel" / "bin" / "radixel", root / "scratch", arguments);
    }
    QTemporaryDir temp;
    fs::path root;
};

TEST_F(PluginTrialTest, AModuleThatFailsWhenTriedIsPassedOverWithALineAndTheAnswerSaysWhy) {
    const std::string crashed = killedBy(SIGSEGV) + " when tried";
    const struct {
        const char* fault;
        std::string why;
    } cases[] = {
        {"crash_when_loaded", crashed},
        {"hang_when_loaded", "gave no answer within 3 s when tried"},
        {"exit_when_loaded", "exited when tried, before its trial was over"},
        {"crash_at_exit", crashed},
        {"crash_in_table", crashed},
        {"entries_nowhere", crashed},
        {"signature_nowhere", crashed},
        {"crash_when_called", crashed},
        {"abort_when_called", killedBy(SIGABRT) + " when tried"},
        {"hang_when_called", "gave no answer within 3 s when tried"},
        {"crash_when_stopped", crashed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const Outcome r = runWith({{faulty(c.fault), "conversion.so"}});
        EXPECT_TRUE(r.exitedNormally()) << "status " << r.status << "\n" << r.err;
        const std::string passedOver = "passed over: conversion.so: " + c.why;
        EXPECT_NE(line(r.out, 0).find("The conversion component is missing"), std::string::npos) << r.out;
        EXPECT_NE(line(r.out, 0).find(passedOver), std::string::npos) << r.out;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(passedOver), std::string::npos) << r.err;
    }
}

TEST_F(PluginTrialTest, AFaultyModuleSortedFirstLeavesTheRealComponentToServe) {
    for (const char* fault : {"crash_when_called", "crash_when_loaded", "hang_when_called"}) {
        SCOPED_TRACE(fault);
        const Outcome r = runWith({{faulty(fault), "a_stray.so"}, {RADIXEL_TEST_CONVERSION_PLUGIN, "conversion.so"}});
        EXPECT_TRUE(r.exitedNormally()) << "status " << r.status << "\n" << r.err;
        EXPECT_EQ(line(r.out, 0), "2A");
        // Said once, although the lookup found what it looked for.
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(
            r.err.find("plug-in in \"" + (root / "Radixel" / "Plugins").string() + "\" passed over: a_stray.so: "),
            std::string::npos)
            << r.err;
    }
}

TEST_F(PluginTrialTest, ACrashDuringAConversionNamesTheComponentAndTheSignal) {
    const struct {
        const char* input;
        int signal;
    } cases[] = {
        {"segv", SIGSEGV}, {"abort", SIGABRT}, {"deep", SIGSEGV},  // a stack that runs out
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const Outcome r = runWith({{faulty("by_input"), "conversion.so"}}, {c.input});
        EXPECT_EQ(r.signal(), c.signal) << "status " << r.status << "\n" << r.err;
        EXPECT_EQ(r.err,
                  "radixel: " + killedBy(c.signal) + " during a call into the conversion component conversion.so\n");
    }
    const Outcome fine = runWith({{faulty("by_input"), "conversion.so"}}, {"42"});
    EXPECT_TRUE(fine.exitedNormally()) << fine.err;
    EXPECT_EQ(line(fine.out, 0), "answered 42");
    EXPECT_EQ(fine.err, "");
}

TEST_F(PluginTrialTest, ABundleWithoutItsTrialHelperLoadsNoModuleAndSaysSo) {
    const Outcome r = runWith({{RADIXEL_TEST_CONVERSION_PLUGIN, "conversion.so"}}, {}, false);
    EXPECT_TRUE(r.exitedNormally()) << r.err;
    const std::string cause = "conversion.so: cannot be tried: no trial helper at \"" +
                              (root / "Radixel" / "bin" / "radixel-plugin-trial").string() + "\"";
    EXPECT_NE(line(r.out, 0).find(cause), std::string::npos) << r.out;
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(cause), std::string::npos) << r.err;
}

}  // namespace
