#include "make_pictures.h"

#include "canvas.h"
#include "picture_catalogue.h"
#include "picture_files.h"

#include <system_error>

namespace pictures {
namespace {

// High enough that lettering and thin edges keep clean; the files stay a few hundred KB.
constexpr int jpegQuality = 92;

bool makePicture(const CatalogueEntry& entry, const std::filesystem::path& path) {
    Canvas canvas(entry.width, entry.height,
                  entry.kind == PictureKind::Jpeg ? CanvasKind::Opaque : CanvasKind::Transparent);
    if (!canvas.ok()) {
        return false;
    }
    entry.paint(canvas);
    if (!canvas.ok()) {
        return false;
    }
    return entry.kind == PictureKind::Jpeg ? writeJpeg(canvas.surface(), path, jpegQuality)
                                           : writePng(canvas.surface(), path);
}

} // namespace

bool makeAllPictures(const std::filesystem::path& dataDir, std::ostream& errors) {
    bool allWritten = true;
    for (const CatalogueEntry& entry : pictureCatalogue) {
        const std::filesystem::path path = dataDir / entry.path;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            errors << "make_pictures: cannot create " << path.parent_path().string() << ": "
                   << error.message() << "\n";
            allWritten = false;
            continue;
        }
        if (!makePicture(entry, path)) {
            errors << "make_pictures: cannot write " << path.string() << "\n";
            allWritten = false;
        }
    }
    return allWritten;
}

} // namespace pictures
