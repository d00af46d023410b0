#include "framework/FolderItem.hpp"
#include "framework/PluginAbi.hpp"
#include "framework/Plugins.hpp"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kOutstanding = "OutstandingTexts() As Integer";
const std::string kConvert =
    "kxConvBase(inStr As String, baseTo As Integer, baseFrom As Integer, numPlaces As Integer, toUpperCase As Boolean) "
    "As String";

void* lookup(const std::string& signature) { return fw::RuntimeLookupPluginEntrypoint(fw::String(signature)); }

std::int32_t callOutstanding(void* entry) { return reinterpret_cast<std::int32_t (*)()>(entry)(); }

// What the start-up report says when a binding routine looks up this one signature.
std::string wantedSignature;
void bindWanted() { fw::RuntimeLookupPluginEntrypoint(fw::String(wantedSignature)); }
std::string startUpReportFor(const std::string& signature) {
    wantedSignature = signature;
    testing::internal::CaptureStderr();
    fw::InitPluginEntrypoints(&bindWanted);
    return testing::internal::GetCapturedStderr();
}

class PluginLookupTest : public ::testing::Test {
protected:
    void SetUp() override { fw::SetPluginTrialHelper(RADIXEL_TEST_TRIAL_HELPER); }
    void TearDown() override {
        fw::SetPluginFolder({});
        fw::SetPluginTrialHelper({});
        fw::OverrideAppFolderItem({});
    }
    QTemporaryDir temp;
    fs::path tempPath() const { return temp.path().toStdString(); }
};

TEST_F(PluginLookupTest, MatchesTheSignatureTextExactly) {
    fw::SetPluginFolder(RADIXEL_TEST_ECHO_PLUGINS);
    EXPECT_NE(lookup(kOutstanding), nullptr);
    const std::string nearMisses[] = {
        "OutstandingTexts() as Integer",
        "OutstandingTexts()",
        kOutstanding + " ",
        " " + kOutstanding,
        kOutstanding + std::string(1, '\0'),
        "",
    };
    for (const std::string& nearMiss : nearMisses) {
        SCOPED_TRACE("signature: \"" + nearMiss + "\"");
        EXPECT_EQ(lookup(nearMiss), nullptr);
    }
}

TEST_F(PluginLookupTest, PassesOverATableOfAnotherLayoutVersion) {
    // The future module sorts first and offers the same signatures; its answers say "future".
    fw::SetPluginFolder(RADIXEL_TEST_ECHO_PLUGINS);
    using Convert = fw::PluginText* (*)(const fw::PluginText*, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
    auto convert = reinterpret_cast<Convert>(lookup(kConvert));
    ASSERT_NE(convert, nullptr);
    const fw::PluginText lent{"7", 1, nullptr};
    fw::PluginText* answer = convert(&lent, 2, 10, 0, 1);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(std::string(answer->data, answer->size), "inStr=7 (lent) baseTo=2 baseFrom=10 numPlaces=0 toUpperCase=1");
    answer->release(answer);
    EXPECT_EQ(lookup(kConvert), reinterpret_cast<void*>(convert));
    EXPECT_EQ(startUpReportFor(kConvert), "");
}

TEST_F(PluginLookupTest, ModuleStaysLoadedAfterItsFileIsGone) {
    fs::create_directories(tempPath() / "Plugins");
    fs::copy_file(RADIXEL_TEST_ECHO_PLUGIN, tempPath() / "Plugins" / "copy.so");
    fw::SetPluginFolder(tempPath() / "Plugins");
    void* entry = lookup(kOutstanding);
    ASSERT_NE(entry, nullptr);
    fs::remove_all(tempPath() / "Plugins");
    EXPECT_EQ(lookup(kOutstanding), nullptr);
    EXPECT_EQ(callOutstanding(entry), 0);
}

TEST_F(PluginLookupTest, StartUpReportNamesTheFolderAndWhatWasPassedOver) {
    const fs::path folder = tempPath() / "Plugins";
    fs::create_directories(folder / "folder.so");
    std::ofstream(folder / "broken.so") << "not a shared object";
    std::ofstream(folder / "notes.txt") << "ignored: not a module";
    fw::SetPluginFolder(folder);

    const std::string report = startUpReportFor(kOutstanding);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_NE(report.find(folder.string()), std::string::npos) << report;
    EXPECT_NE(report.find(kOutstanding), std::string::npos) << report;
    EXPECT_NE(report.find("broken.so"), std::string::npos) << report;
    EXPECT_EQ(report.find("notes.txt"), std::string::npos) << report;
    EXPECT_EQ(report.find("folder.so"), std::string::npos) << report;
}

fs::path faulty(const std::string& name) { return fs::path(RADIXEL_TEST_FAULT_PLUGINS) / (name + ".so"); }

// A module that dies in its trial is named once at start-up: in the line of the signature that
// was not found, or in a line of its own when another module provided it.
TEST_F(PluginLookupTest, StartUpNamesAModuleThatDiedWhenTriedOnce) {
    const fs::path folder = tempPath() / "Plugins";
    fs::create_directories(folder);
    fs::copy_file(faulty("crash_when_called"), folder / "a_crash.so");
    fw::SetPluginFolder(folder);
    const std::string crashed = "a_crash.so: killed by signal 11 (Segmentation fault) when tried";

    const std::string missing = startUpReportFor(kOutstanding);
    EXPECT_EQ(std::count(missing.begin(), missing.end(), '\n'), 1) << missing;
    EXPECT_TRUE(missing.starts_with("radixel: no plug-in in \"" + folder.string() + "\" provides")) << missing;
    EXPECT_NE(missing.find("(passed over: " + crashed + ")"), std::string::npos) << missing;

    fs::copy_file(RADIXEL_TEST_ECHO_PLUGIN, folder / "echo.so");
    EXPECT_EQ(startUpReportFor(kOutstanding),
              "radixel: plug-in in \"" + folder.string() + "\" passed over: " + crashed + "\n");
}

// Each lookup that finds nothing keeps what it passed over, for the answer that says why.
TEST_F(PluginLookupTest, PassedOverModulesAreKeptForTheSignatureNotFound) {
    const fs::path folder = tempPath() / "Plugins";
    fs::create_directories(folder);
    fs::copy_file(faulty("abort_when_called"), folder / "abort.so");
    std::ofstream(folder / "broken.so") << "not a shared object";
    fw::SetPluginFolder(folder);
    EXPECT_EQ(lookup(kConvert), nullptr);
    const std::vector<std::string> passedOver = fw::PluginsPassedOverFor(fw::String(kConvert));
    ASSERT_EQ(passedOver.size(), 2u);
    EXPECT_EQ(passedOver[0], "abort.so: killed by signal 6 (Aborted) when tried");
    EXPECT_TRUE(passedOver[1].starts_with("broken.so: ")) << passedOver[1];
    EXPECT_EQ(passedOver[1].find('\n'), std::string::npos) << passedOver[1];

    fs::copy_file(RADIXEL_TEST_ECHO_PLUGIN, folder / "echo.so");
    void* entry = lookup(kConvert);
    EXPECT_NE(entry, nullptr);
    EXPECT_TRUE(fw::PluginsPassedOverFor(fw::String(kConvert)).empty());
    EXPECT_EQ(fw::PluginModuleOf(entry), "echo.so");
    EXPECT_EQ(fw::PluginModuleOf(&kConvert), "");
}

// A module is tried once while its file stays the same, so a module that hangs costs its time
// bound once; a file written anew is another module, and tried again.
TEST_F(PluginLookupTest, AModulePassedOverIsTriedAgainOnlyWhenItsFileChanges) {
    const fs::path folder = tempPath() / "Plugins";
    fs::create_directories(folder);
    fs::copy_file(faulty("crash_when_loaded"), folder / "crash.so");
    fw::SetPluginFolder(folder);
    const fs::path log = tempPath() / "loads.txt";
    setenv("RADIXEL_TEST_FAULT_LOG", log.c_str(), 1);
    const auto loads = [&] {
        std::ifstream in(log);
        return std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n');
    };
    EXPECT_EQ(lookup(kOutstanding), nullptr);
    EXPECT_EQ(lookup(kConvert), nullptr);
    EXPECT_EQ(loads(), 1);
    fs::remove(folder / "crash.so");
    fs::copy_file(faulty("crash_when_loaded"), folder / "crash.so");
    EXPECT_EQ(lookup(kOutstanding), nullptr);
    EXPECT_EQ(loads(), 2);
    unsetenv("RADIXEL_TEST_FAULT_LOG");
}

TEST_F(PluginLookupTest, MissingFolderFindsNothingAndSaysWhere) {
    const fs::path folder = tempPath() / "no such folder";
    fw::SetPluginFolder(folder);
    EXPECT_EQ(lookup(kOutstanding), nullptr);
    const std::string report = startUpReportFor(kOutstanding);
    EXPECT_NE(report.find(folder.string()), std::string::npos) << report;
}

TEST_F(PluginLookupTest, LookupsOutsideStartUpReportNothing) {
    fw::SetPluginFolder(tempPath());
    testing::internal::CaptureStderr();
    EXPECT_EQ(lookup(kOutstanding), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(PluginLookupTest, DefaultFolderIsBesideTheExecutablesFolderLinksResolved) {
    const fs::path bundle = fs::canonical(tempPath()) / "Bundle";
    fs::create_directories(bundle / "bin");
    std::ofstream(bundle / "bin" / "radixel") << "";
    fs::create_directories(tempPath() / "elsewhere");
    fs::create_symlink(bundle / "bin" / "radixel", tempPath() / "elsewhere" / "radixel");
    fw::OverrideAppFolderItem(tempPath() / "elsewhere" / "radixel");
    fw::SetPluginFolder({});
    EXPECT_EQ(fw::PluginFolder(), bundle / "Plugins");
    fw::SetPluginFolder(tempPath());
    EXPECT_EQ(fw::PluginFolder(), tempPath());
}

TEST_F(PluginLookupTest, TrialHelperIsBesideTheExecutableLinksResolved) {
    const fs::path bundle = fs::canonical(tempPath()) / "Bundle";
    fs::create_directories(bundle / "bin");
    std::ofstream(bundle / "bin" / "radixel") << "";
    fs::create_directories(tempPath() / "elsewhere");
    fs::create_symlink(bundle / "bin" / "radixel", tempPath() / "elsewhere" / "radixel");
    fw::OverrideAppFolderItem(tempPath() / "elsewhere" / "radixel");
    fw::SetPluginTrialHelper({});
    EXPECT_EQ(fw::PluginTrialHelper(), bundle / "bin" / "radixel-plugin-trial");
    fw::SetPluginTrialHelper(tempPath() / "helper");
    EXPECT_EQ(fw::PluginTrialHelper(), tempPath() / "helper");
}

TEST_F(PluginLookupTest, EntrypointTableStartsEmpty) {
    // The program keeps its table for good; a test gives back the one it asked for.
    const std::unique_ptr<void*[]> table(fw::RuntimeAllocatePluginEntrypointsTable(3));
    ASSERT_NE(table, nullptr);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(table[i], nullptr) << "slot " << i;
}

}  // namespace
