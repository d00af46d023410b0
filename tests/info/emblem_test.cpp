#include "FreshEmblemCache.hpp"
#include "TempBundle.hpp"

#include "info/Kettlewing128.hpp"

#include "framework/Exceptions.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Picture.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

using radixel::x_Kettlewing128::Kettlewing128;
namespace fs = std::filesystem;

namespace {

std::string EmblemBytes() {
    std::ifstream in(SourceEmblem(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST_F(FreshEmblemCache, LoadsOnceThenNeverTouchesTheDiskAgain) {
    bundle.putEmblem();
    auto first = Kettlewing128();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Width(), 128);
    EXPECT_EQ(first->Height(), 128);

    // Were the file read again, garbage would give nil; were the bundle looked up again, the
    // executable at the root would raise.
    bundle.putEmblemBytes("no picture");
    EXPECT_EQ(Kettlewing128(), first);
    fw::OverrideAppFolderItem("/radixel");
    EXPECT_EQ(Kettlewing128(), first);
}

TEST_F(FreshEmblemCache, NoResourcesFolderGivesNilUntilTheFolderAppears) {
    EXPECT_EQ(Kettlewing128(), nullptr);
    EXPECT_EQ(Kettlewing128(), nullptr);
    bundle.putEmblem();
    EXPECT_TRUE(Kettlewing128());
}

TEST_F(FreshEmblemCache, MissingFileRaisesEveryTimeUntilTheFileAppears) {
    bundle.makeResources();
    EXPECT_THROW(Kettlewing128(), fw::NilObjectException);
    EXPECT_THROW(Kettlewing128(), fw::NilObjectException);
    bundle.putEmblem();
    EXPECT_TRUE(Kettlewing128());
}

TEST_F(FreshEmblemCache, UnlocatableBundleRaisesUntilTheBundleIsFound) {
    // The executable's folder is the root, which has no parent.
    fw::OverrideAppFolderItem("/radixel");
    EXPECT_THROW(Kettlewing128(), fw::NilObjectException);
    EXPECT_THROW(Kettlewing128(), fw::NilObjectException);
    bundle.putEmblem();
    fw::OverrideAppFolderItem(bundle.root() / "bin" / "radixel");
    EXPECT_TRUE(Kettlewing128());
}

struct Unreadable {
    const char* name;
    void (*make)(const TempBundle&);
    friend void PrintTo(const Unreadable& u, std::ostream* out) { *out << u.name; }
};

class UnreadableEmblem : public FreshEmblemCache, public testing::WithParamInterface<Unreadable> {};

TEST_P(UnreadableEmblem, GivesNilEveryTimeUntilTheFileIsRepaired) {
    GetParam().make(bundle);
    EXPECT_EQ(Kettlewing128(), nullptr);
    EXPECT_EQ(Kettlewing128(), nullptr);
    bundle.putEmblem();
    auto repaired = Kettlewing128();
    ASSERT_TRUE(repaired);
    EXPECT_EQ(repaired->Width(), 128);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableEmblem,
    testing::Values(Unreadable{"Empty", [](const TempBundle& b) { b.putEmblemBytes(""); }},
                    Unreadable{"Text", [](const TempBundle& b) { b.putEmblemBytes("GIF? no, a note\n"); }},
                    Unreadable{"HeaderOnly",
                               [](const TempBundle& b) { b.putEmblemBytes(EmblemBytes().substr(0, 13)); }},
                    Unreadable{"Folder", [](const TempBundle& b) { fs::create_directories(b.emblem()); }}),
    [](const testing::TestParamInfo<Unreadable>& tested) { return std::string(tested.param.name); });

// The build copies the emblem to where the program looks for it.
TEST_F(FreshEmblemCache, BuiltBundleHoldsTheEmblem) {
    fw::OverrideAppFolderItem(fs::path(RADIXEL_BUNDLE_BIN) / "radixel");
    auto emblem = Kettlewing128();
    ASSERT_TRUE(emblem) << "no readable emblem in " << RADIXEL_BUNDLE_BIN << "/../Resources";
    EXPECT_EQ(emblem->Width(), 128);
    EXPECT_EQ(emblem->Height(), 128);
}
