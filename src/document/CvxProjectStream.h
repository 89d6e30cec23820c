#pragma once
// The reader and writer of a project's object pages, one per load or save. A project is a
// multi-page TIFF: page 0 the flattened canvas, then one page per object with its object
// record, bottom-most first, each group directly followed by its members.

#include <memory>

#include "codecs/CvxTiff.h"
#include "document/ObjectRecord.h"

class CvxDIB;
class CvxSprite;

class CvxProjectStream {
public:
    explicit CvxProjectStream(CvxTiff& file) : m_file(file) {}
    ~CvxProjectStream();
    CvxProjectStream(const CvxProjectStream&) = delete;
    CvxProjectStream& operator=(const CvxProjectStream&) = delete;

    // --- Reading ---
    // Becomes the file's record source and reads the first object page (page 1).
    bool BeginRead();
    // Reads the next page and its record; false at the end or when the page cannot be read,
    // and then there is no current image.
    bool NextPage();
    const objectrecord::Words& Record() const { return m_record.words; }
    // False when the current page's record tag held fewer words than a record has.
    bool RecordIsWhole() const { return m_record.wordsRead == CvxObjectRecord::kWords; }
    bool HasImage() const { return m_pImage != nullptr; }
    std::unique_ptr<CvxDIB> TakeImage();
    int ReadingIndex() const { return m_nReadingIndex; }
    // A reader that finds the file inconsistent stops the whole load here.
    void Stop() { m_bStopped = true; }
    bool Stopped() const { return m_bStopped; }

    // --- Writing ---
    void BeginWrite();
    // Writes the object's page with its record, then lets the object write its members.
    // False once any page failed.
    bool WriteObject(CvxSprite& object, std::int32_t groupSequence, bool isBackground);
    bool Failed() const { return m_bFailed; }

private:
    CvxTiff& m_file;
    CvxObjectRecord m_record;
    std::unique_ptr<CvxDIB> m_pImage;
    std::int32_t m_nWritingCounter = 0;
    int m_nReadingIndex = 0;
    bool m_bStopped = false;
    bool m_bFailed = false;
};
