#include "render/render_support.h"

#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "assets/assets.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace fs = std::filesystem;

namespace render {

bool operator==(const Colour& a, const Colour& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::ostream& operator<<(std::ostream& out, const Colour& colour) {
    return out << "(" << colour.r << ", " << colour.g << ", " << colour.b << ")";
}

int largestChannelDifference(const Colour& a, const Colour& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

bool closeTo(const Colour& a, const Colour& b, int tolerance) {
    return largestChannelDifference(a, b) <= tolerance;
}

Colour Screenshot::at(int x, int y) const {
    const std::size_t row = static_cast<std::size_t>(ScreenHeight - 1 - y);
    const std::uint8_t* pixel = rgb.data() + (row * ScreenWidth + static_cast<std::size_t>(x)) * 3;
    return {pixel[0], pixel[1], pixel[2]};
}

Screenshot readScreen() {
    Screenshot shot;
    shot.rgb.resize(static_cast<std::size_t>(ScreenWidth) * ScreenHeight * 3);
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, ScreenWidth, ScreenHeight, GL_RGB, GL_UNSIGNED_BYTE, shot.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    return shot;
}

Colour meanColour(const Screenshot& shot, int left, int top, int right, int bottom) {
    long long sums[3] = {};
    long long count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const Colour pixel = shot.at(x, y);
            sums[0] += pixel.r;
            sums[1] += pixel.g;
            sums[2] += pixel.b;
            ++count;
        }
    }
    if (count == 0) {
        return {};
    }
    return {static_cast<int>(sums[0] / count), static_cast<int>(sums[1] / count),
            static_cast<int>(sums[2] / count)};
}

namespace {

// Mean colours of a grid over any picture read through `pixelAt`.
template <typename PixelAt>
std::vector<Colour> gridOver(int width, int height, int columns, int rows, PixelAt pixelAt) {
    std::vector<Colour> means;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int left = column * width / columns;
            const int right = (column + 1) * width / columns;
            const int top = row * height / rows;
            const int bottom = (row + 1) * height / rows;
            long long sums[3] = {};
            long long count = 0;
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x) {
                    const Colour pixel = pixelAt(x, y);
                    sums[0] += pixel.r;
                    sums[1] += pixel.g;
                    sums[2] += pixel.b;
                    ++count;
                }
            }
            count = std::max(count, 1LL);
            means.push_back({static_cast<int>(sums[0] / count), static_cast<int>(sums[1] / count),
                             static_cast<int>(sums[2] / count)});
        }
    }
    return means;
}

} // namespace

std::vector<Colour> gridMeans(const Screenshot& shot, int columns, int rows) {
    return gridOver(ScreenWidth, ScreenHeight, columns, rows,
                    [&](int x, int y) { return shot.at(x, y); });
}

std::vector<Colour> gridMeans(const Picture& picture, int columns, int rows) {
    return gridOver(picture.width, picture.height, columns, rows, [&](int x, int y) {
        const std::uint8_t* pixel = picture.at(x, y);
        return Colour{pixel[0], pixel[1], pixel[2]};
    });
}

double gridDistance(const std::vector<Colour>& a, const std::vector<Colour>& b) {
    if (a.size() != b.size() || a.empty()) {
        return 1e9;
    }
    double total = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        total += largestChannelDifference(a[i], b[i]);
    }
    return total / static_cast<double>(a.size());
}

std::vector<int> pixelsUnlike(const Screenshot& shot, const Colour& background, int tolerance,
                              int left, int top, int right, int bottom) {
    std::vector<int> found;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (!closeTo(shot.at(x, y), background, tolerance)) {
                found.push_back(y * ScreenWidth + x);
            }
        }
    }
    return found;
}

void drawWholeTexture(unsigned int texture) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 768.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1024.0f, 768.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1024.0f, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
}

namespace {

void writePicture(const fs::path& path, int width, int height, const Painter& paint, bool alpha) {
    Picture canvas(width, height);
    paint(canvas);
    fs::create_directories(path.parent_path());
    const bool written =
        alpha ? pictures::writePng(canvas, path) : pictures::writeJpeg(canvas, path, 98);
    ASSERT_TRUE(written) << path;
}

} // namespace

void writeJpegPicture(const fs::path& path, int width, int height, const Painter& paint) {
    writePicture(path, width, height, paint, false);
}

void writePngPicture(const fs::path& path, int width, int height, const Painter& paint) {
    writePicture(path, width, height, paint, true);
}

void paintSolid(Picture& canvas, const Colour& colour, double left, double top, double width,
                double height, double alpha) {
    const auto edge = [](double at, int limit) {
        return std::clamp(static_cast<int>(std::lround(at)), 0, limit);
    };
    const std::uint8_t pixel[4] = {
        static_cast<std::uint8_t>(colour.r), static_cast<std::uint8_t>(colour.g),
        static_cast<std::uint8_t>(colour.b), static_cast<std::uint8_t>(std::lround(alpha * 255.0))};
    for (int y = edge(top, canvas.height); y < edge(top + height, canvas.height); ++y) {
        for (int x = edge(left, canvas.width); x < edge(left + width, canvas.width); ++x) {
            std::copy(pixel, pixel + 4, canvas.at(x, y));
        }
    }
}

const Colour WeightColours[11] = {
    {},
    {230, 40, 40},
    {40, 200, 40},
    {40, 60, 230},
    {230, 200, 40},
    {200, 40, 200},
    {40, 200, 200},
    {250, 130, 20},
    {120, 60, 20},
    {150, 150, 250},
    {20, 100, 60},
};

void writeWeightPictures() {
    for (int weight = 1; weight <= 10; ++weight) {
        const fs::path path = "Data/Kuvat/Objektit/" + std::to_string(weight) + ".jpg";
        writeJpegPicture(path, 32, 64, [weight](Picture& canvas) {
            paintSolid(canvas, WeightColours[weight], 0, 0, canvas.width, canvas.height);
        });
    }
}

std::span<const CataloguedPicture> pictureCatalogue() {
    return expected::pictureSlots;
}

Picture decodePicture(const fs::path& relativePath) {
    const auto decoded = relativePath.extension() == ".png" ? pictures::readPng(relativePath)
                                                            : pictures::readJpeg(relativePath);
    return decoded ? *decoded : Picture{};
}

PictureFolder::PictureFolder()
    : path_(fs::temp_directory_path() / ("tolvar-render-" + std::to_string(::getpid()))),
      previous_(fs::current_path()) {
    fs::remove_all(path_);
    fs::create_directories(path_ / "Data");
    fs::copy(fs::path(TOLVAR_GENERATED_DATA_DIR) / "Kuvat", path_ / "Data" / "Kuvat",
             fs::copy_options::recursive);
    if (fs::is_directory("Fonts")) { // the face a build ships beside the program (Windows)
        fs::copy("Fonts", path_ / "Fonts", fs::copy_options::recursive);
    }
    fs::current_path(path_);
}

PictureFolder::~PictureFolder() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void RenderTest::startUp() {
    ASSERT_EQ(openWindow("Tolvar", ScreenWidth, ScreenHeight, 32, true), 1);
    started = true;
    startImageLibrary();
    loadTextures();
    finishImageLibrary();
    startFrameTimer(30.0f);
    frameTimer.speedFactor = 1.0f;
}

void RenderTest::TearDown() {
    if (started) {
        closeWindow();
    }
}

} // namespace render
