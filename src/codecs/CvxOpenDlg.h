#pragma once
// The open and save dialog's rules: filters, default extension, overwrite prompt and the
// folder remembered across all dialogs, carried out through the platform's file dialog.

#include <optional>
#include <string>

class CvxOpenDlg {
public:
    // Saving offers what can be written; opening lists everything that can be read.
    enum Filter { kImageFilter = 0, kOpenImageFilter = 1, kProjectFilter = 2, kTransparentImageFilter = 3 };

    CvxOpenDlg(bool forOpening, int filter, std::string initialName = {}, std::string defaultExtension = {});

    // Returns 1 (OK) with the chosen path in PathName(), or 2 (Cancel). With no initial
    // folder the dialog starts in the remembered folder and remembers the chosen one.
    int DoModal(const std::string* initialFolder = nullptr);
    const std::string& PathName() const { return m_pathName; }
    // The entry of the filter list shown first, counted from 1 (the default).
    void SetFilterIndex(int index) { m_filterIndex = index; }

    static const char* FilterText(int filter);
    static const std::string& RememberedFolder();
    static void ForgetRememberedFolder();

private:
    bool m_forOpening;
    int m_filter;
    std::string m_initialName;
    std::string m_defaultExtension;
    std::string m_pathName;
    int m_filterIndex = 1;
};
