// Face matching answers kept in a file: read back by the next run while what they depend on stays the same,
// dropped as soon as a watched file changes or the file is damaged.
#include <gtest/gtest.h>

#include "text/FaceMatchCache.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using cehost::text::FaceFile;
using cehost::text::FaceMatchCache;

TEST(FaceMatchCache, AnswersSurviveUntilAWatchedPathChanges) {
    auto folder = std::filesystem::temp_directory_path() / ("face-match-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "sub" / "face-match").string(), config = (folder / "fonts.conf").string();
    std::ofstream(config) << "<fontconfig/>";
    FaceFile face{(folder / "face.ttf").string(), 2, 200, true, true};
    {
        FaceMatchCache first(file);
        EXPECT_EQ(first.Find("LxFont"), nullptr);
        first.Store("LxFont", face, {config});
        first.Store("Missing", std::nullopt, {config});
    }
    {
        FaceMatchCache next(file);
        const std::optional<FaceFile>* found = next.Find("LxFont");
        ASSERT_TRUE(found && *found);
        EXPECT_EQ((*found)->path, face.path);
        EXPECT_EQ((*found)->index, 2);
        EXPECT_EQ((*found)->weight, 200);
        EXPECT_TRUE((*found)->italic && (*found)->hasHangul);
        const std::optional<FaceFile>* none = next.Find("Missing");
        ASSERT_TRUE(none);
        EXPECT_FALSE(*none);
    }
    // The face file appearing is a change too: it was watched while missing.
    std::ofstream(face.path) << "x";
    EXPECT_EQ(FaceMatchCache(file).Find("LxFont"), nullptr);

    // Rewritten while the configuration stays, then the configuration changes size.
    FaceMatchCache(file).Store("LxFont", face, {config});
    EXPECT_NE(FaceMatchCache(file).Find("LxFont"), nullptr);
    std::ofstream(config, std::ios::app) << "<!-- more -->";
    EXPECT_EQ(FaceMatchCache(file).Find("LxFont"), nullptr);

    // A damaged file is ignored, and an empty file name keeps nothing.
    FaceMatchCache(file).Store("LxFont", face, {config});
    std::ofstream(file, std::ios::app) << "answer\tbroken\n";
    EXPECT_EQ(FaceMatchCache(file).Find("LxFont"), nullptr);
    FaceMatchCache nowhere("");
    nowhere.Store("LxFont", face, {});
    EXPECT_NE(nowhere.Find("LxFont"), nullptr);
    std::filesystem::remove_all(folder);
}

} // namespace
