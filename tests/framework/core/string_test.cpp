#include "framework/String.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Bytes kept by an owner that tells when it is let go.
struct Owner {
    Owner(std::string held, bool* flag) : bytes(std::move(held)), gone(flag) {}
    ~Owner() { *gone = true; }
    std::string bytes;
    bool* gone;
};

std::shared_ptr<const Owner> OwnerOf(std::string bytes, bool* gone) {
    auto owner = std::make_shared<const Owner>(std::move(bytes), gone);
    *gone = false;
    return owner;
}

TEST(StringTest, AnAdoptedTextReadsItsOwnersBytesInPlaceUntilItsLastCopyGoes) {
    bool gone = false;
    auto owner = OwnerOf(std::string("12\0AB", 5), &gone);
    const std::string_view bytes = owner->bytes;
    auto adopted = std::make_unique<fw::String>(fw::String::Adopt(bytes, std::move(owner)));
    EXPECT_EQ(adopted->data(), bytes.data());
    EXPECT_EQ(adopted->size(), 5u);
    EXPECT_EQ(adopted->view(), bytes);

    fw::String copy = *adopted;
    EXPECT_EQ(copy.data(), bytes.data()) << "a copy of an adopted text copies its bytes";
    adopted.reset();
    EXPECT_FALSE(gone);
    fw::String moved = std::move(copy);
    EXPECT_EQ(moved.data(), bytes.data());
    EXPECT_FALSE(gone);
    { fw::String last = std::move(moved); }
    EXPECT_TRUE(gone);
}

TEST(StringTest, AnAdoptedTextTakesItsBytesInWhenAStringOfItsOwnIsAskedFor) {
    bool gone = false;
    auto owner = OwnerOf("FF", &gone);
    const std::string_view bytes = owner->bytes;
    fw::String adopted = fw::String::Adopt(bytes, std::move(owner));
    const std::string& own = adopted.bytes();
    EXPECT_EQ(own, "FF");
    EXPECT_STREQ(own.c_str(), "FF");
    EXPECT_TRUE(gone);
    EXPECT_EQ(adopted.data(), own.data());
    EXPECT_EQ(std::move(adopted).bytes(), "FF");
}

TEST(StringTest, AdoptedAndOwnedTextsCompareAndJoinByTheirBytes) {
    bool gone = false;
    const std::string held = "10";
    const fw::String adopted = fw::String::Adopt(held, OwnerOf(held, &gone));
    EXPECT_EQ(adopted, fw::String("10"));
    EXPECT_EQ(fw::String("10"), adopted);
    EXPECT_FALSE(adopted == fw::String("1"));
    EXPECT_EQ((adopted + fw::String("/3")).bytes(), "10/3");
    EXPECT_EQ((fw::String("-") + adopted).bytes(), "-10");
    EXPECT_FALSE(adopted.empty());
    EXPECT_TRUE(fw::String::Adopt(std::string_view(), OwnerOf("", &gone)).empty());
    // Without an owner there is nothing to keep the bytes: the string copies them.
    std::string transient = "7";
    const fw::String copied = fw::String::Adopt(transient, nullptr);
    transient = "8";
    EXPECT_EQ(copied.bytes(), "7");
}

}  // namespace
