// The resources folder and the emblem in it, as the emblem's loader reaches them: executable,
// its folder, that folder's parent, "Resources", then the picture file, over fixture bundles.

#include "framework/Exceptions.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Picture.hpp"
#include "framework/Runtime.hpp"
#include "TinyGif.hpp"

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

const char* const kEmblem = "Kettlewing 128.gif";

void write(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

class BundleResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        bundle = fs::canonical(temp.path().toStdString()) / "Radixel";
        fs::create_directories(bundle / "bin");
        write(bundle / "bin" / "radixel", "");
        fw::OverrideAppFolderItem(bundle / "bin" / "radixel");
    }
    void TearDown() override { fw::OverrideAppFolderItem({}); }

    // The emblem as the loader would get it: nil at each step that yields nil.
    std::shared_ptr<fw::Picture> emblem() {
        auto resources = fw::GetApplicationBundleResources();
        if (!resources) return nullptr;
        auto file = resources->Child(kEmblem);
        if (!file) return nullptr;
        return file->OpenAsPicture();
    }

    QTemporaryDir temp;
    fs::path bundle;
};

TEST_F(BundleResourcesTest, EachStepGivesNilWhereItsItemIsMissingOrUnreadable) {
    struct Case {
        const char* situation;
        std::function<void(const fs::path& resources)> arrange;
        bool resourcesFound, emblemFound, pictureRead;
    };
    const Case cases[] = {
        {"no Resources folder", [](const fs::path&) {}, false, false, false},
        {"Resources without the emblem", [](const fs::path& r) { fs::create_directory(r); }, true, false, false},
        {"an emblem that is no picture",
         [](const fs::path& r) {
             fs::create_directory(r);
             write(r / kEmblem, "GIF89a but nothing after");
         },
         true, true, false},
        {"an empty emblem file",
         [](const fs::path& r) {
             fs::create_directory(r);
             write(r / kEmblem, "");
         },
         true, true, false},
        {"a folder of the emblem's name", [](const fs::path& r) { fs::create_directories(r / kEmblem); }, true, true,
         false},
        {"a truncated GIF",
         [](const fs::path& r) {
             fs::create_directory(r);
             write(r / kEmblem, tinyGif().substr(0, 24));
         },
         true, true, false},
        {"a good GIF",
         [](const fs::path& r) {
             fs::create_directory(r);
             write(r / kEmblem, tinyGif());
         },
         true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        fs::remove_all(bundle / "Resources");
        c.arrange(bundle / "Resources");
        auto resources = fw::GetApplicationBundleResources();
        ASSERT_EQ(resources != nullptr, c.resourcesFound);
        if (!resources) continue;
        EXPECT_EQ(resources->path(), bundle / "Resources");
        auto file = resources->Child(kEmblem);
        ASSERT_EQ(file != nullptr, c.emblemFound);
        if (!file) continue;
        EXPECT_EQ(file->OpenAsPicture() != nullptr, c.pictureRead);
    }
}

TEST_F(BundleResourcesTest, GifIsDecoded) {
    fs::create_directory(bundle / "Resources");
    write(bundle / "Resources" / kEmblem, tinyGif());
    auto picture = emblem();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 2);
    EXPECT_EQ(picture->Height(), 1);
    EXPECT_EQ(picture->image().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(picture->image().pixelColor(1, 0), QColor(Qt::blue));
}

TEST_F(BundleResourcesTest, StartedThroughALinkTheBundleIsTheLinkTargets) {
    fs::create_directory(bundle / "Resources");
    const fs::path elsewhere = bundle.parent_path() / "elsewhere";
    fs::create_directories(elsewhere / "bin");
    fs::create_directory(elsewhere / "Resources");
    fs::create_symlink(bundle / "bin" / "radixel", elsewhere / "bin" / "radixel");
    fw::OverrideAppFolderItem(elsewhere / "bin" / "radixel");
    auto resources = fw::GetApplicationBundleResources();
    ASSERT_NE(resources, nullptr);
    EXPECT_EQ(resources->path(), bundle / "Resources");
}

TEST_F(BundleResourcesTest, RaisesWhenTheExecutableHasNoTwoFoldersAboveIt) {
    // "/radixel": its folder is the root, which has no parent.
    for (const char* executable : {"/radixel", "/"}) {
        SCOPED_TRACE(executable);
        fw::OverrideAppFolderItem(executable);
        EXPECT_THROW(fw::GetApplicationBundleResources(), fw::NilObjectException);
    }
}

// The icon named after the executable becomes every window's; a bundle without a readable one
// leaves the platform's default, and so does an executable too near the root for a bundle.
TEST_F(BundleResourcesTest, EveryWindowCarriesTheIconNamedAfterTheExecutable) {
    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(Qt::green);
    struct Case {
        const char* situation;
        std::function<void(const fs::path& resources)> arrange;
        bool iconShown;
    };
    const Case cases[] = {
        {"no Resources folder", [](const fs::path&) {}, false},
        {"Resources without the icon", [](const fs::path& r) { fs::create_directory(r); }, false},
        {"the icon under another name",
         [&](const fs::path& r) {
             fs::create_directory(r);
             green.save(QString::fromStdString((r / "other.png").string()));
         },
         false},
        {"an icon that is no picture",
         [](const fs::path& r) {
             fs::create_directory(r);
             write(r / "radixel.png", "PNG?");
         },
         false},
        {"the icon",
         [&](const fs::path& r) {
             fs::create_directory(r);
             green.save(QString::fromStdString((r / "radixel.png").string()));
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        fs::remove_all(bundle / "Resources");
        c.arrange(bundle / "Resources");
        QApplication::setWindowIcon(QIcon());
        fw::RuntimeInit();
        QWidget window;
        ASSERT_EQ(!window.windowIcon().isNull(), c.iconShown);
        if (c.iconShown) {
            EXPECT_EQ(window.windowIcon().pixmap(4, 4).toImage().pixelColor(1, 1), QColor(Qt::green));
        }
    }
    fw::OverrideAppFolderItem("/radixel");
    QApplication::setWindowIcon(QIcon());
    EXPECT_NO_THROW(fw::RuntimeInit());
    EXPECT_TRUE(QApplication::windowIcon().isNull());
}

}  // namespace
