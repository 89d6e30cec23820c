#include "document/CvxProjectStream.h"

#include "document/CvxSprite.h"
#include "image/CvxDIB.h"

CvxProjectStream::~CvxProjectStream() { m_file.SetRecordSource(nullptr); }

bool CvxProjectStream::BeginRead() {
    m_file.SetRecordSource(&m_record);
    return NextPage();
}

bool CvxProjectStream::NextPage() {
    m_pImage.reset();
    if (m_nReadingIndex >= m_file.PageCount()) return false;
    ++m_nReadingIndex;
    if (m_nReadingIndex >= m_file.PageCount()) return false;
    auto image = std::make_unique<CvxDIB>();
    if (!image->ReadTiffPage(m_file, m_nReadingIndex)) return false;
    m_pImage = std::move(image);
    return true;
}

std::unique_ptr<CvxDIB> CvxProjectStream::TakeImage() { return std::move(m_pImage); }

void CvxProjectStream::BeginWrite() { m_file.SetRecordSource(&m_record); }

bool CvxProjectStream::WriteObject(CvxSprite& object, std::int32_t groupSequence, bool isBackground) {
    if (m_bFailed) return false;
    ++m_nWritingCounter;
    m_record.words = objectrecord::Fill(object, m_nWritingCounter, groupSequence, isBackground);
    // A transformed or blended object is stored as the picture it is made from again.
    const CvxSprite& pictured = object.TransformSource()  ? *object.TransformSource()
                                : object.UnblendedCopy() ? *object.UnblendedCopy()
                                                         : object;
    if (!pictured.Image() || !m_file.WritePage(*pictured.Image())) {
        m_bFailed = true;
        return false;
    }
    object.SaveChildren(m_nWritingCounter);
    return !m_bFailed;
}
