#include "codecs/CvxOpenDlg.h"

#include "platform/PlatformServices.h"

namespace {

std::string g_rememberedFolder;  // shared by every dialog of the run

}  // namespace

CvxOpenDlg::CvxOpenDlg(bool forOpening, int filter, std::string initialName, std::string defaultExtension)
    : m_forOpening(forOpening),
      m_filter(filter),
      m_initialName(std::move(initialName)),
      m_defaultExtension(defaultExtension.empty() ? "tif" : std::move(defaultExtension)) {}

const char* CvxOpenDlg::FilterText(int filter) {
    switch (filter) {
        case kProjectFilter:
            return "Project file - TIFF is native format (*.TIF)|*.tif|All files|*.*||";
        case kOpenImageFilter:
            return "Supported File Types (*.TIF, *.JPG, *.GIF, *.BMP, *.PNG, *.HEIC, *.WEBP)|*.tif;*.tiff;*.jpg;"
                   "*.jpeg;*.gif;*.bmp;*.png;*.heic;*.heif;*.webp|BMP (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg;*.jpeg|GIF "
                   "(*.gif)|*.gif|TIF (*.tif)|*.tif;*.tiff|PNG (*.png)|*.png|HEIC (*.heic)|*.heic;*.heif|WebP "
                   "(*.webp)|*.webp|All files|*.*||";
        case kTransparentImageFilter:
            return "Supported File Types (*.TIF, *.GIF, *.BMP, *.PNG)|*.tif;*.gif;*.bmp;*.png|BMP (*.bmp)|*.bmp|GIF "
                   "(*.gif)|*.gif|TIF (*.tif)|*.tif|PNG (*.png)|*.png||";
        default:
            return "Supported File Types (*.TIF, *.JPG, *.GIF, *.BMP, *.PNG)|*.tif;*.jpg;*.gif;*.bmp;*.png|BMP "
                   "(*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|GIF (*.gif)|*.gif|TIF (*.tif)|*.tif|PNG (*.png)|*.png|All "
                   "files|*.*||";
    }
}

const std::string& CvxOpenDlg::RememberedFolder() { return g_rememberedFolder; }

void CvxOpenDlg::ForgetRememberedFolder() { g_rememberedFolder.clear(); }

int CvxOpenDlg::DoModal(const std::string* initialFolder) {
    platform::FileDialogRequest request;
    request.forOpening = m_forOpening;
    request.filter = FilterText(m_filter);
    request.initialName = m_initialName;
    request.defaultExtension = m_defaultExtension;
    request.initialFolder = initialFolder ? *initialFolder : g_rememberedFolder;
    request.promptOverwrite = !m_forOpening;
    request.filterIndex = m_filterIndex;
    const auto chosen = platform::Services().RunFileDialog(request);
    if (!chosen || chosen->empty()) return platform::IDCANCEL;
    m_pathName = *chosen;
    if (initialFolder == nullptr) {
        const auto slash = m_pathName.find_last_of('/');
        g_rememberedFolder = slash == std::string::npos ? std::string() : m_pathName.substr(0, slash + 1);
    }
    return platform::IDOK;
}
