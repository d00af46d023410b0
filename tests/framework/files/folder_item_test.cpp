#include "framework/FolderItem.hpp"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class FolderItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        root = fs::canonical(temp.path().toStdString());
        fs::create_directories(root / "folder" / "inner");
        std::ofstream(root / "folder" / "file.txt") << "text";
        std::ofstream(root / "folder" / "with space.gif") << "";
        fs::create_symlink(root / "nowhere", root / "folder" / "dangling");
    }
    QTemporaryDir temp;
    fs::path root;
};

TEST_F(FolderItemTest, ChildIsNilUnlessAnItemOfThatNameIsInTheFolder) {
    const fw::FolderItem folder(root / "folder");
    struct Case {
        std::string name;
        bool found;
    };
    const Case cases[] = {
        {"file.txt", true},
        {"inner", true},
        {"with space.gif", true},
        {"missing", false},
        {"", false},
        {"inner/", false},
        {"inner/../file.txt", false},
        {".", false},
        {"..", false},
        {"/etc", false},
        {std::string("file.txt\0x", 10), false},
        {"FILE.TXT", false},
        {"dangling", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("name: \"" + c.name + "\"");
        auto child = folder.Child(fw::String(c.name));
        EXPECT_EQ(child != nullptr, c.found);
        if (child) {
            EXPECT_EQ(child->path(), root / "folder" / c.name);
        }
    }
    EXPECT_EQ(fw::FolderItem(root / "folder" / "file.txt").Child("anything"), nullptr);
    EXPECT_EQ(fw::FolderItem(root / "missing").Child("file.txt"), nullptr);
    EXPECT_EQ(fw::FolderItem().Child("file.txt"), nullptr);
}

TEST_F(FolderItemTest, ParentIsTheHoldingFolderAndNilAtTheRoot) {
    EXPECT_EQ(fw::FolderItem(root / "folder" / "file.txt").Parent()->path(), root / "folder");
    EXPECT_EQ(fw::FolderItem(root / "folder" / "inner" / "").Parent()->path(), root / "folder");
    EXPECT_EQ(fw::FolderItem(root / "folder" / "inner" / "..").Parent()->path(), root);
    EXPECT_EQ(fw::FolderItem("/etc").Parent()->path(), fs::path("/"));
    EXPECT_EQ(fw::FolderItem("/").Parent(), nullptr);
    EXPECT_EQ(fw::FolderItem("/etc/..").Parent(), nullptr);
    EXPECT_EQ(fw::FolderItem().Parent(), nullptr);
    auto relative = fw::FolderItem("some/thing").Parent();
    ASSERT_NE(relative, nullptr);
    EXPECT_EQ(relative->path(), fs::current_path() / "some");
}

TEST_F(FolderItemTest, ExistsAndDirectory) {
    struct Case {
        fs::path path;
        bool exists, directory;
    };
    const Case cases[] = {
        {root / "folder", true, true},
        {root / "folder" / "file.txt", true, false},
        {root / "folder" / "missing", false, false},
        {root / "folder" / "dangling", false, false},
        {{}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.string());
        const fw::FolderItem item(c.path);
        EXPECT_EQ(item.Exists(), c.exists);
        EXPECT_EQ(item.Directory(), c.directory);
    }
}

TEST_F(FolderItemTest, ExecutableIsTheRunningProgramOrTheOverrideWithLinksResolved) {
    auto self = fw::AppFolderItemGetter();
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->path(), fs::canonical("/proc/self/exe"));
    EXPECT_TRUE(self->Exists());

    std::ofstream(root / "folder" / "radixel") << "";
    fs::create_symlink(root / "folder" / "radixel", root / "link");
    fs::create_directory_symlink(root / "folder", root / "linked-folder");
    for (const fs::path& startedAs : {root / "link", root / "linked-folder" / "radixel", root / "folder" / "radixel"}) {
        SCOPED_TRACE(startedAs.string());
        fw::OverrideAppFolderItem(startedAs);
        EXPECT_EQ(fw::AppFolderItemGetter()->path(), root / "folder" / "radixel");
    }
    fw::OverrideAppFolderItem({});
    EXPECT_EQ(fw::AppFolderItemGetter()->path(), self->path());
}

}  // namespace
