#include "menubar/MenuBar1.hpp"

#include "framework/AppleMenuItem.hpp"
#include "framework/MenuItem.hpp"
#include "framework/QuitMenuItem.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace radixel {
namespace {

constexpr const char* kNeverSet = nullptr;

struct ExpectedEntry {
    const char* name;
    const fw::ClassTable& (*entryClass)();
    const char* caption;
    const char* shortcut;  // kNeverSet: the setter was never called
};

struct ExpectedMenu {
    ExpectedEntry menu;
    std::vector<ExpectedEntry> commands;
};

const fw::ClassTable& PlainItem() { return fw::MenuItem::Lookup(); }
const fw::ClassTable& AboutItem() { return fw::AppleMenuItem::Lookup(); }
const fw::ClassTable& QuitItem() { return fw::QuitMenuItem::Lookup(); }

const std::vector<ExpectedMenu> kMenuTree = {
    {{"FileMenu", PlainItem, "&File", ""},
     {
         {"AppleAbout", AboutItem, "About Radixel...", ""},
         {"FileQuit", QuitItem, "&Quit", "Cmd+Q"},
     }},
    {{"EditMenu", PlainItem, "&Edit", ""},
     {
         {"EditUndo", PlainItem, "&Undo", "Cmd+Z"},
         {"UntitledMenu1", PlainItem, "-", kNeverSet},
         {"EditCut", PlainItem, "Cu&t", "Cmd+X"},
         {"EditCopy", PlainItem, "&Copy", "Cmd+C"},
         {"EditPaste", PlainItem, "&Paste", "Cmd+V"},
         {"EditClear", PlainItem, "&Delete", ""},
         {"UntitledMenu0", PlainItem, "-", kNeverSet},
         {"EditSelectAll", PlainItem, "Select &All", "Cmd+A"},
     }},
    {{"HelpMenu", PlainItem, "Help", ""},
     {
         {"HelpRadixelHelp", PlainItem, "Radixel Help", ""},
     }},
};

void ExpectEntry(const std::shared_ptr<fw::MenuItem>& entry, const ExpectedEntry& expected) {
    SCOPED_TRACE(expected.name);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Name().bytes(), expected.name);
    // Exactly the class: an About entry that were a plain MenuItem would lose its place.
    EXPECT_EQ(entry->classTable().fullName, expected.entryClass().fullName);
    EXPECT_EQ(entry->Text().bytes(), expected.caption);
    EXPECT_EQ(entry->KeyboardShortcutWasSet(), expected.shortcut != kNeverSet);
    if (expected.shortcut != kNeverSet) {
        EXPECT_EQ(entry->KeyboardShortcut().bytes(), expected.shortcut);
    }
    EXPECT_TRUE(entry->AutoEnable());
    EXPECT_EQ(entry->IsSeparator(), std::string(expected.caption) == "-");
}

void ExpectCompleteTree(const fw::MenuItem& bar) {
    ASSERT_EQ(bar.Count(), kMenuTree.size());
    for (std::size_t m = 0; m < kMenuTree.size(); ++m) {
        const ExpectedMenu& expected = kMenuTree[m];
        auto menu = bar.Item(m);
        ExpectEntry(menu, expected.menu);
        ASSERT_TRUE(menu);
        ASSERT_EQ(menu->Count(), expected.commands.size()) << expected.menu.name;
        for (std::size_t c = 0; c < expected.commands.size(); ++c) ExpectEntry(menu->Item(c), expected.commands[c]);
    }
}

TEST(MenuBar1Test, HoldsTheThreeMenusWithTheirEntriesInOrder) {
    auto bar = instance::MenuBar1();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->classTable().fullName, "MenuBar1.MenuBar1");
    ExpectCompleteTree(*bar);
}

TEST(MenuBar1Test, EntriesAreFoundByNameWithTheClassesOthersCastThemTo) {
    auto bar = instance::MenuBar1();
    EXPECT_TRUE(
        fw::RuntimeCheckCast<fw::AppleMenuItem>(bar->Lookup(fw::String("AppleAbout")), fw::AppleMenuItem::Lookup()));
    EXPECT_TRUE(
        fw::RuntimeCheckCast<fw::QuitMenuItem>(bar->Lookup(fw::String("FileQuit")), fw::QuitMenuItem::Lookup()));
    for (const ExpectedMenu& menu : kMenuTree) {
        EXPECT_EQ(bar->Child(menu.menu.name), bar->Lookup(fw::String(menu.menu.name))) << menu.menu.name;
        for (const ExpectedEntry& command : menu.commands) {
            auto found = bar->Lookup(fw::String(command.name));
            ASSERT_TRUE(found) << command.name;
            EXPECT_EQ(found->Parent().lock(), bar->Child(menu.menu.name)) << command.name;
        }
    }
}

TEST(MenuBar1Test, EveryCallReturnsTheOneBarBuiltOnce) {
    auto first = instance::MenuBar1();
    auto second = instance::MenuBar1();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, MenuBar1::_implicitInstance);
    ExpectCompleteTree(*second);
}

TEST(MenuBar1Test, ReleaseDropsTheSharedReferenceAndTheNextCallBuildsAnew) {
    auto before = instance::MenuBar1();
    const long heldBefore = before.use_count();
    MenuBar1::ExitImplicitInstance();
    EXPECT_FALSE(MenuBar1::_implicitInstance);
    EXPECT_EQ(before.use_count(), heldBefore - 1);

    auto after = instance::MenuBar1();
    EXPECT_NE(after, before);
    ExpectCompleteTree(*after);
}

}  // namespace
}  // namespace radixel
