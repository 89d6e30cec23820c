// The one path by which images are read from and written to files: CvxDIB::LoadFromFile
// tries every reader in a fixed order whatever the extension, CvxDIB::SaveToFile picks the
// writer from the name's last four characters and falls back to BMP.

#include "codecs/ImageFileDispatch.h"

#include <algorithm>
#include <cctype>

#include "codecs/CvxFile.h"
#include "codecs/CvxOpenDlg.h"
#include "codecs/CvxProjectTarget.h"
#include "codecs/CvxTiff.h"
#include "codecs/GifCodec.h"
#include "codecs/HeifCodec.h"
#include "codecs/JpegCodec.h"
#include "codecs/PhotoCorrection.h"
#include "codecs/PngCodec.h"
#include "codecs/WebpCodec.h"
#include "colour/ColorReduce.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

using platform::MessageStyle;

void ShowOpenFailure(const std::string& path) {
    platform::ShowMessage("Failed to open file: " + path, MessageStyle::Exclamation);
}

// The last four characters of the name, lower-cased: they choose the writer.
std::string WriterTag(const std::string& path) {
    std::string tag = path.substr(path.size() - std::min<std::size_t>(path.size(), 4));
    for (char& c : tag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tag;
}

// GIF holds at most 256 colours: anything but an 8-bit image is reduced first.
int SaveAsGif(const CvxDIB& image, const std::string& path) {
    if (image.BitCount() == 8) return WriteGIF(image, path);
    CvxDIB reduced;
    if (!reduced.Create(image.Width(), image.Height(), 8) || !ColorReduce(image, reduced, 256)) return 0;
    return WriteGIF(reduced, path);
}

}  // namespace

const char* ImageKindName(ImageKind kind) {
    switch (kind) {
        case ImageKind::Bmp: return "BMP";
        case ImageKind::Tiff: return "TIFF";
        case ImageKind::Jpeg: return "JPEG";
        case ImageKind::Gif: return "GIF";
        case ImageKind::Png: return "PNG";
        case ImageKind::Heif: return "HEIF";
        case ImageKind::WebP: return "WebP";
        default: return "none";
    }
}

int CvxDIB::LoadFromFile(const std::string& requestedPath, const std::string* initialFolder,
                         ImageKind* loadedKind, CvxProjectTarget* target, PhotoMetadata* metadata) {
    if (loadedKind) *loadedKind = ImageKind::None;
    std::string path = requestedPath;
    if (path.empty()) {
        CvxOpenDlg dialog(true, CvxOpenDlg::kOpenImageFilter);
        if (dialog.DoModal(initialFolder) != platform::IDOK) return 0;
        path = dialog.PathName();
    }

    CvxFile file;
    if (!file.Open(path, CvxFile::Mode::Read)) {
        ShowOpenFailure(path);
        return 0;
    }
    platform::BusyCursor busy;
    ImageKind kind = ImageKind::None;
    if (Load(file)) kind = ImageKind::Bmp;
    if (kind == ImageKind::None) {
        CvxTiff tiff;
        if (tiff.OpenForRead(file)) {
            // Projects are recognised only for a document that can take their objects.
            if (target != nullptr && tiff.DetectProject()) {
                Release();
                target->LoadProject(tiff);
                kind = ImageKind::Tiff;
            } else if (ReadTiffPage(tiff, 0)) {
                kind = ImageKind::Tiff;
            }
        }
    }
    PhotoMetadata photo;
    if (kind == ImageKind::None && ReadJPEG(path, *this, &photo)) kind = ImageKind::Jpeg;
    if (kind != ImageKind::Jpeg) photo = PhotoMetadata{};  // nothing of a refused file's metadata is kept
    if (kind == ImageKind::None && ReadGIF(path, *this)) kind = ImageKind::Gif;
    // The readers of today's photo formats come after the classic ones, in a fixed order.
    using PhotoReader = int (*)(CvxFile&, CvxDIB&, PhotoMetadata*, std::int64_t);
    static constexpr std::pair<ImageKind, PhotoReader> kPhotoReaders[] = {
        {ImageKind::Png, ReadPNG}, {ImageKind::Heif, ReadHEIF}, {ImageKind::WebP, ReadWebP}};
    for (const auto& [readerKind, reader] : kPhotoReaders) {
        if (kind != ImageKind::None) break;
        photo = PhotoMetadata{};
        if (file.Seek(0) && reader(file, *this, &photo, kMaxPicturePixels)) kind = readerKind;
    }
    file.Close();
    if (kind == ImageKind::None) {
        platform::ShowMessage("Unsupported file type", MessageStyle::Plain);
        return 0;
    }
    ApplyPhotoCorrections(*this, photo);
    if (loadedKind) *loadedKind = kind;
    if (metadata) *metadata = std::move(photo);
    return 1;
}

std::optional<std::string> BmpSaveName(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    const bool haveDot = dot != std::string::npos;
    const bool haveSlash = slash != std::string::npos;
    if (haveDot && haveSlash && dot == slash + 1) return std::nullopt;  // nothing before the extension
    std::string name = path;
    if (haveDot && haveSlash && dot >= 1 && slash >= 1 && dot > slash + 1) name.resize(dot);
    return name + ".bmp";
}

std::optional<std::string> SavedFileName(const std::string& path) {
    const std::string tag = WriterTag(path);
    if (tag == ".jpg" || tag == ".gif" || tag == ".tif" || tag == ".png") return path;
    return BmpSaveName(path);
}

int CvxDIB::SaveToFile(const std::string& path, CvxProjectTarget* document) const {
    if (path.empty() || path.back() == '/') {
        platform::ShowMessage("File name required", MessageStyle::Exclamation);
        return 0;
    }
    const std::string tag = WriterTag(path);
    if (tag == ".jpg") {
        const std::vector<std::uint8_t> rgb = ToRGB24();
        const int saved = !rgb.empty() && WriteJPEG(path, Width(), Height(), rgb);
        if (!saved) platform::ShowMessage("Failed to save JPG file", MessageStyle::Plain);
        return saved;
    }
    if (tag == ".gif") {
        const int saved = SaveAsGif(*this, path);
        if (!saved) platform::ShowMessage("Failed to save GIF file", MessageStyle::Plain);
        return saved;
    }
    if (tag == ".png") {
        // As for every other name, a file needs a name before its extension.
        if (path.size() == tag.size() || path[path.size() - tag.size() - 1] == '/') {
            platform::ShowMessage("Invalid file name", MessageStyle::Exclamation);
            return 0;
        }
        const int saved = WritePNG(*this, path);
        if (!saved) platform::ShowMessage("Failed to save PNG file", MessageStyle::Plain);
        return saved;
    }
    if (tag == ".tif") {
        const int saved = WriteImageFile(path, document);
        if (!saved) platform::ShowMessage("Failed to save TIF file", MessageStyle::Plain);
        return saved;
    }
    const auto bmpName = BmpSaveName(path);
    if (!bmpName) {
        platform::ShowMessage("Invalid file name", MessageStyle::Exclamation);
        return 0;
    }
    const std::string& name = *bmpName;
    CvxFile file;
    if (!file.Open(name, CvxFile::Mode::Replace)) {
        ShowOpenFailure(name);
        return 0;
    }
    const int saved = Save(file) && file.Commit();
    if (!saved) platform::ShowMessage("Failed to save file", MessageStyle::Plain);
    return saved;
}
