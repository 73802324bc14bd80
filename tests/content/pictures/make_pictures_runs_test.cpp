// make_pictures as a program: it reports failure instead of pretending, writes the same bytes
// on every run, and makes its contact sheet.
#include "generated_pictures.h"

#include <fstream>
#include <iterator>

namespace picture_checks {
namespace {

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(MakePicturesRuns, TwoGenerationsWriteIdenticalBytes) {
    const TemporaryFolder first;
    const TemporaryFolder second;
    ASSERT_EQ(runMakePictures({first.path().string()}), 0);
    ASSERT_EQ(runMakePictures({second.path().string()}), 0);
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(first.path())) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::filesystem::path relative = entry.path().lexically_relative(first.path());
        SCOPED_TRACE(relative.string());
        const std::string bytes = contentsOf(entry.path());
        EXPECT_FALSE(bytes.empty());
        EXPECT_TRUE(bytes == contentsOf(second.path() / relative));
        ++compared;
    }
    EXPECT_EQ(compared, 25);
}

TEST(MakePicturesRuns, WrongArgumentsAreRefused) {
    EXPECT_NE(runMakePictures({}), 0);
    EXPECT_NE(runMakePictures({"--contact-sheet"}), 0);
    EXPECT_NE(runMakePictures({"a", "b"}), 0);
}

TEST(MakePicturesRuns, UnwritableDataFolderIsReportedAsFailure) {
    const TemporaryFolder folder;
    const std::filesystem::path blocker = folder.path() / "not-a-folder";
    std::ofstream(blocker) << "a file where the data folder should go";
    EXPECT_NE(runMakePictures({(blocker / "Data").string()}), 0);
}

TEST(MakePicturesRuns, ContactSheetShowsAGeneration) {
    const TemporaryFolder folder;
    ASSERT_EQ(runMakePictures({folder.path().string()}), 0);
    const std::filesystem::path sheet = folder.path() / "sheet.png";
    ASSERT_EQ(runMakePictures({"--contact-sheet", folder.path().string(), sheet.string()}), 0);
    const std::optional<pictures::RgbaPicture> decoded = pictures::readPng(sheet);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_GT(decoded->width, 1000);
    EXPECT_GT(decoded->height, 1000);
}

TEST(MakePicturesRuns, ContactSheetOfAnIncompleteFolderIsReportedAsFailure) {
    const TemporaryFolder folder;
    ASSERT_EQ(runMakePictures({folder.path().string()}), 0);
    std::filesystem::remove(folder.path() / "Kuvat/Objektit/7.jpg");
    const std::filesystem::path sheet = folder.path() / "sheet.png";
    EXPECT_NE(runMakePictures({"--contact-sheet", folder.path().string(), sheet.string()}), 0);
    EXPECT_FALSE(std::filesystem::exists(sheet));
}

} // namespace
} // namespace picture_checks
