#pragma once
// What a document asks of the application's main frame: help pages and the memory
// indicator. The editor's main frame implements this; without one (the command-line tool)
// a document simply does without.

#include <string>

class CvxFrameLink {
public:
    virtual ~CvxFrameLink() = default;

    // Opens a page of the help site, such as "Delete.htm".
    virtual void OpenHelpPage(const std::string& page) = 0;
    // Memory was freed or taken in bulk; the status bar's indicator should look again.
    virtual void RefreshMemoryIndicator() = 0;
};
