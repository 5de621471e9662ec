// The keypad drawn beside the screen: every key is found under its own face and nowhere else, and the picture
// (also the documentation's) is compared exactly, with one key shown pressed.
#include "GoldenImage.h"

#include <cehost/sim/window.h>

#include <set>

namespace {

TEST(KeypadSkin, KeysAreFoundUnderTheirFacesAndThePictureMatches) {
    std::set<BYTE> seen;
    for (const cehost::sim::SkinKey& k : cehost::sim::KeypadSkinKeys()) {
        EXPECT_TRUE(seen.insert(k.vk).second) << "one face per key: " << int(k.vk);
        EXPECT_EQ(cehost::sim::KeypadSkinKeyAt((k.rect.left + k.rect.right) / 2, (k.rect.top + k.rect.bottom) / 2), k.vk);
        EXPECT_EQ(cehost::sim::KeypadSkinKeyAt(k.rect.right, k.rect.bottom), 0) << "the gap after " << int(k.vk);
        EXPECT_LE(k.rect.right, cehost::sim::kKeypadSkinWidth);
        EXPECT_LE(k.rect.bottom, cehost::sim::kKeypadSkinHeight);
    }
    EXPECT_EQ(seen.size(), 21u) << "two soft keys, five around Select with Home and Back, and twelve";

    const long gdi = cehost::sim::GdiObjectCount();
    const std::string path = (golden::OutputDir() / "keypad-skin.png").string();
    std::string error;
    ASSERT_TRUE(cehost::sim::SaveKeypadSkinPng(path, 2, '5', &error)) << error;
    EXPECT_EQ(cehost::sim::GdiObjectCount(), gdi);
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(golden::ReadPng(path, w, h, pixels));
    EXPECT_TRUE(golden::Matches("keypad-skin", w, h, pixels));
    EXPECT_FALSE(cehost::sim::SaveKeypadSkinPng(path, 0, 0, &error));
}

} // namespace
