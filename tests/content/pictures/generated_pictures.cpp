#include "generated_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace picture_checks {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvar-pictures-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

int runMakePictures(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{MAKE_PICTURES_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

const std::filesystem::path& generatedDataDir() {
    static const TemporaryFolder folder;
    static const bool generated = runMakePictures({(folder.path() / "Data").string()}) == 0;
    static const std::filesystem::path dataDir =
        generated ? folder.path() / "Data" : std::filesystem::path{};
    return dataDir;
}

const pictures::RgbaPicture& generatedPicture(std::string_view relativePath) {
    static std::map<std::string, pictures::RgbaPicture, std::less<>> cache;
    const auto found = cache.find(relativePath);
    if (found != cache.end()) {
        return found->second;
    }
    const std::filesystem::path path = generatedDataDir() / relativePath;
    std::optional<pictures::RgbaPicture> decoded =
        path.extension() == ".png" ? pictures::readPng(path) : pictures::readJpeg(path);
    return cache.emplace(std::string(relativePath), decoded.value_or(pictures::RgbaPicture{}))
        .first->second;
}

double luma(Rgb colour) {
    return 0.299 * colour.r + 0.587 * colour.g + 0.114 * colour.b;
}

double distance(Rgb a, Rgb b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) +
                     (a.b - b.b) * (a.b - b.b));
}

Rgb shownAt(const pictures::RgbaPicture& picture, Placement placement, int x, int y) {
    const double s = (x + 0.5 - placement.x) / placement.width;
    const double t = (y + 0.5 - placement.y) / placement.height * placement.shownFraction;
    const int column = std::clamp(static_cast<int>(s * picture.width), 0, picture.width - 1);
    const int row = std::clamp(static_cast<int>(t * picture.height), 0, picture.height - 1);
    const std::uint8_t* pixel = picture.at(column, row);
    return Rgb{static_cast<double>(pixel[0]), static_cast<double>(pixel[1]),
               static_cast<double>(pixel[2])};
}

namespace {

bool inside(ScreenPixels area, int x, int y) {
    return x >= area.firstX && x <= area.lastX && y >= area.firstY && y <= area.lastY;
}

template <typename Visit>
void forEachShown(const pictures::RgbaPicture& picture, Placement placement, ScreenPixels area,
                  Visit visit) {
    for (int y = area.firstY; y <= area.lastY; ++y) {
        for (int x = area.firstX; x <= area.lastX; ++x) {
            visit(x, y, shownAt(picture, placement, x, y));
        }
    }
}

} // namespace

Rgb meanShownOutside(const pictures::RgbaPicture& picture, Placement placement, ScreenPixels outer,
                     ScreenPixels hole) {
    Rgb sum{0.0, 0.0, 0.0};
    int count = 0;
    forEachShown(picture, placement, outer, [&](int x, int y, Rgb colour) {
        if (!inside(hole, x, y)) {
            sum = Rgb{sum.r + colour.r, sum.g + colour.g, sum.b + colour.b};
            ++count;
        }
    });
    if (count == 0) {
        return sum;
    }
    return Rgb{sum.r / count, sum.g / count, sum.b / count};
}

Rgb meanShown(const pictures::RgbaPicture& picture, Placement placement, ScreenPixels area) {
    return meanShownOutside(picture, placement, area, ScreenPixels{1, 0, 1, 0});
}

LumaRange lumaRangeShown(const pictures::RgbaPicture& picture, Placement placement,
                         ScreenPixels area) {
    LumaRange range{255.0, 0.0};
    forEachShown(picture, placement, area, [&](int, int, Rgb colour) {
        range.darkest = std::min(range.darkest, luma(colour));
        range.lightest = std::max(range.lightest, luma(colour));
    });
    return range;
}

} // namespace picture_checks
