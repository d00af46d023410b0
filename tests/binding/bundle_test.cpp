// The bundle keeps working wherever its folder goes and however the executable is reached:
// a copy of a small program that starts the way Radixel does is run from fixture bundles.

#include "ProbeBundle.hpp"

#include <QTemporaryDir>

#include <elf.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace radixel::probe;

class BundleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        root = fs::canonical(temp.path().toStdString());
        fs::create_directories(root / "scratch");
    }
    // A bundle at the folder, with the echo module as its component or without one.
    void makeBundle(const fs::path& bundle, bool withPlugin) {
        radixel::probe::makeBundle(bundle, withPlugin ? std::vector<Module>{{RADIXEL_TEST_ECHO_PLUGIN, "conversion.so"}}
                                                      : std::vector<Module>{});
    }
    QTemporaryDir temp;
    fs::path root;
};

const std::string kConverted = "inStr=42 (lent) baseTo=16 baseFrom=10 numPlaces=8 toUpperCase=1";

TEST_F(BundleTest, FindsPluginAndResourcesFromAMovedFolderAndThroughLinks) {
    makeBundle(root / "Radixel", true);
    fs::rename(root / "Radixel", root / "Moved");
    const fs::path bundle = root / "Moved";
    fs::create_directories(root / "elsewhere");
    fs::create_symlink(bundle / "bin" / "radixel", root / "elsewhere" / "absolute-link");
    fs::create_symlink("../Moved/bin/radixel", root / "elsewhere" / "relative-link");
    fs::create_symlink(root / "elsewhere" / "absolute-link", root / "elsewhere" / "link-to-link");
    fs::create_directory_symlink(bundle / "bin", root / "linked-bin");

    const fs::path startedAs[] = {
        bundle / "bin" / "radixel",          root / "elsewhere" / "absolute-link", root / "elsewhere" / "relative-link",
        root / "elsewhere" / "link-to-link", root / "linked-bin" / "radixel",
    };
    for (const fs::path& executable : startedAs) {
        SCOPED_TRACE("started as " + executable.string());
        const Outcome r = run(executable, root / "scratch");
        EXPECT_TRUE(r.exitedNormally());
        EXPECT_EQ(line(r.out, 0), kConverted);
        EXPECT_EQ(line(r.out, 1), (bundle / "Resources").string());
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(BundleTest, BundleWithoutItsPluginSaysSoAtStartAndInTheAnswer) {
    makeBundle(root / "Radixel", false);
    fs::remove(root / "Radixel" / "Resources");
    const Outcome r = run(root / "Radixel" / "bin" / "radixel", root / "scratch");
    EXPECT_TRUE(r.exitedNormally());
    EXPECT_NE(line(r.out, 0).find("conversion component is missing"), std::string::npos) << r.out;
    EXPECT_EQ(line(r.out, 1), "nil");
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find((root / "Radixel" / "Plugins").string()), std::string::npos) << r.err;
}

// Where the last segment the loader maps from the module ends; past it lie only what the loader
// never reads (symbols, debugging sections), so a cut there would do no harm.
std::uintmax_t mappedExtent(const fs::path& module) {
    std::ifstream in(module, std::ios::binary);
    Elf64_Ehdr header{};
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    std::uintmax_t extent = 0;
    for (std::size_t i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment{};
        in.seekg(static_cast<std::streamoff>(header.e_phoff + i * sizeof segment));
        in.read(reinterpret_cast<char*>(&segment), sizeof segment);
        if (segment.p_type == PT_LOAD) extent = std::max<std::uintmax_t>(extent, segment.p_offset + segment.p_filesz);
    }
    return extent;
}

// A module cut short (a copy interrupted, a full disk) would be mapped by the loader past the end
// of its file, and the first touch there ends the program; it must be passed over like any
// module that cannot be loaded.
TEST_F(BundleTest, PluginCutShortIsPassedOverAtStartAndInTheAnswer) {
    const std::uintmax_t extent = mappedExtent(RADIXEL_TEST_CONVERSION_PLUGIN);
    ASSERT_GT(extent, 8192u);
    const struct {
        const char* name;
        std::uintmax_t size;
    } cuts[] = {
        {"its header and a little", 100},
        {"a quarter", extent / 4},
        {"half", extent / 2},
        {"three quarters", extent * 3 / 4},
        {"all but its last byte", extent - 1},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(std::string("cut to ") + cut.name + " (" + std::to_string(cut.size) + " of " +
                     std::to_string(extent) + " mapped bytes)");
        const fs::path bundle = root / "Radixel";
        fs::remove_all(bundle);
        makeBundle(bundle, false);
        fs::create_directories(bundle / "Plugins");
        fs::copy_file(RADIXEL_TEST_CONVERSION_PLUGIN, bundle / "Plugins" / "conversion.so");
        fs::resize_file(bundle / "Plugins" / "conversion.so", cut.size);

        const Outcome r = run(bundle / "bin" / "radixel", root / "scratch");
        EXPECT_TRUE(r.exitedNormally());
        EXPECT_NE(line(r.out, 0).find("conversion component is missing"), std::string::npos) << r.out;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find("passed over: conversion.so"), std::string::npos) << r.err;
    }
}

}  // namespace
