#include "framework/FolderItem.hpp"
#include "framework/PluginAbi.hpp"
#include "framework/Plugins.hpp"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

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
    void TearDown() override {
        fw::SetPluginFolder({});
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

TEST_F(PluginLookupTest, EntrypointTableStartsEmpty) {
    // The program keeps its table for good; a test gives back the one it asked for.
    const std::unique_ptr<void*[]> table(fw::RuntimeAllocatePluginEntrypointsTable(3));
    ASSERT_NE(table, nullptr);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(table[i], nullptr) << "slot " << i;
}

}  // namespace
