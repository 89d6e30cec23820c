#include "document/CvxDoc.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "codecs/CvxOpenDlg.h"
#include "document/CvxDocumentView.h"
#include "document/CvxProjectStream.h"
#include "document/CvxSpriteGroup.h"
#include "document/ObjectRecord.h"
#include "geometry/Warp.h"
#include "document/CvxFrameLink.h"
#include "document/EdgeEffect.h"
#include "platform/PlatformServices.h"

namespace {

// Rectangles meet when they overlap or touch: right and bottom are one past the last pixel.
bool Meet(const CRect& a, const CRect& b) {
    return a.left <= b.right && a.top <= b.bottom && b.left <= a.right && b.top <= a.bottom;
}

bool HasBlend(const CvxSprite& object) { return object.m_blend.mode >= 1 && object.m_blend.mode <= 3; }

}  // namespace

CvxDoc::CvxDoc(int canvasSize) : m_pCanvas(std::make_unique<CvxCanvas>(*this, canvasSize)) {}

CvxDoc::~CvxDoc() {
    m_pPendingImage.reset();
    m_pSelected = nullptr;
    m_deleteBin.clear();
    m_objects.clear();
    m_pCanvas.reset();
    m_pProjectStream.reset();
    RefreshMemoryIndicator();
}

bool CvxDoc::HelpRequested(const char* page) const {
    if (!platform::Services().IsKeyHeld(platform::HeldKey::F1)) return false;
    if (m_pFrame) m_pFrame->OpenHelpPage(page);
    return true;
}

void CvxDoc::RefreshMemoryIndicator() const {
    if (m_pFrame) m_pFrame->RefreshMemoryIndicator();
}

// ---------------------------------------------------------------------------------------
// Object list

CvxDoc::ObjectList::iterator CvxDoc::Find(const CvxSprite* object) {
    return std::find_if(m_objects.begin(), m_objects.end(), [object](const auto& entry) { return entry.get() == object; });
}

std::unique_ptr<CvxSprite>* CvxDoc::FindSlot(const CvxSprite* object) {
    if (!object) return nullptr;
    const auto it = Find(object);
    return it == m_objects.end() ? nullptr : &*it;
}

CvxSprite* CvxDoc::AddObjectAtHead(std::unique_ptr<CvxSprite> object) {
    m_objects.push_front(std::move(object));
    return m_objects.front().get();
}

CvxSprite* CvxDoc::AddObjectAtTail(std::unique_ptr<CvxSprite> object) {
    m_objects.push_back(std::move(object));
    return m_objects.back().get();
}

CvxSprite* CvxDoc::InsertObjectAt(std::size_t index, std::unique_ptr<CvxSprite> object) {
    auto position = m_objects.begin();
    std::advance(position, std::min(index, m_objects.size()));
    return m_objects.insert(position, std::move(object))->get();
}

CvxSprite* CvxDoc::InsertObjectBelow(const CvxSprite* anchor, std::unique_ptr<CvxSprite> object) {
    auto position = Find(anchor);
    if (position != m_objects.end()) ++position;
    return m_objects.insert(position, std::move(object))->get();
}

std::unique_ptr<CvxSprite> CvxDoc::ReplaceObject(CvxSprite* old, std::unique_ptr<CvxSprite> replacement) {
    std::unique_ptr<CvxSprite>* slot = FindSlot(old);
    if (!slot) {
        AddObjectAtHead(std::move(replacement));
        return nullptr;
    }
    std::unique_ptr<CvxSprite> previous = std::move(*slot);
    *slot = std::move(replacement);
    if (m_pSelected == old) m_pSelected = slot->get();
    return previous;
}

std::unique_ptr<CvxSprite> CvxDoc::RemoveObject(CvxSprite* object) {
    const auto it = Find(object);
    if (it == m_objects.end()) return nullptr;
    std::unique_ptr<CvxSprite> removed = std::move(*it);
    m_objects.erase(it);
    return removed;
}

// ---------------------------------------------------------------------------------------
// Z-order

void CvxDoc::BringToFront() {
    const auto it = Find(m_pSelected);
    if (it == m_objects.end() || it == m_objects.begin()) return;
    m_objects.splice(m_objects.begin(), m_objects, it);
    m_pCanvas->m_bFullRecompositionNeeded = true;
}

void CvxDoc::MoveAbove() {
    const auto it = Find(m_pSelected);
    if (it == m_objects.end() || it == m_objects.begin()) return;
    const CRect selection = m_pSelected->GetBoundingRect();
    auto target = std::prev(it);
    for (auto walk = std::prev(it);; --walk) {
        if (Meet(selection, (*walk)->GetBoundingRect())) {
            target = walk;
            break;
        }
        if (walk == m_objects.begin()) break;
    }
    m_objects.splice(target, m_objects, it);
    m_pCanvas->m_bFullRecompositionNeeded = true;
}

void CvxDoc::MoveBelow() {
    const auto it = Find(m_pSelected);
    if (it == m_objects.end() || std::next(it) == m_objects.end()) return;
    const CRect selection = m_pSelected->GetBoundingRect();
    auto target = std::next(it);
    for (auto walk = std::next(it); walk != m_objects.end(); ++walk) {
        if (Meet(selection, (*walk)->GetBoundingRect())) {
            target = walk;
            break;
        }
    }
    m_objects.splice(std::next(target), m_objects, it);
    m_pCanvas->m_bFullRecompositionNeeded = true;
}

CvxSprite* CvxDoc::FindOverlapBelow(const CvxSprite& object) const {
    auto it = std::find_if(m_objects.begin(), m_objects.end(), [&](const auto& entry) { return entry.get() == &object; });
    if (it == m_objects.end()) return nullptr;
    const CRect box = object.GetBoundingRect();
    for (++it; it != m_objects.end(); ++it)
        if (Meet(box, (*it)->GetBoundingRect())) return it->get();
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Delete bin and histories

void CvxDoc::DeleteSelected() {
    if (platform::Services().IsKeyHeld(platform::HeldKey::Shift) ||
        platform::Services().IsKeyHeld(platform::HeldKey::F1)) {
        if (m_pFrame) m_pFrame->OpenHelpPage("Delete.htm");
        return;
    }
    if (m_pSelected) MoveToDeleteBin(m_pSelected);
    m_pSelected = nullptr;
}

void CvxDoc::MoveToDeleteBin(CvxSprite* object) {
    // Only a listed object can be binned: anything else belongs to someone else.
    std::unique_ptr<CvxSprite> removed = RemoveObject(object);
    if (!removed) return;
    removed->ReleaseDisplayBitmap();
    m_deleteBin.push_front(std::move(removed));
    m_bModified = true;
}

CvxSprite* CvxDoc::RestoreLastDeleted() {
    if (m_deleteBin.empty()) return nullptr;
    m_objects.splice(m_objects.begin(), m_deleteBin, m_deleteBin.begin());
    m_bModified = true;
    return m_objects.front().get();
}

void CvxDoc::ForgetSelectionIfIn(const ObjectList& doomed) {
    for (const auto& object : doomed)
        if (object.get() == m_pSelected) m_pSelected = nullptr;
}

void CvxDoc::EmptyDeleteBin() {
    ForgetSelectionIfIn(m_deleteBin);
    m_deleteBin.clear();
    RefreshMemoryIndicator();
}

void CvxDoc::EmptyAllHistories() {
    EmptyDeleteBin();
    for (const auto& object : m_objects)
        if (object->HasHistory()) object->EmptyHistory();
}

bool CvxDoc::HasAnythingToEmpty() const {
    return !m_deleteBin.empty() ||
           std::any_of(m_objects.begin(), m_objects.end(), [](const auto& object) { return object->HasHistory(); });
}

// ---------------------------------------------------------------------------------------
// Geometry

CRect CvxDoc::GetExtent() const {
    CRect extent;
    auto widen = [&extent](const CvxSprite& object) {
        const CRect box = object.GetBoundingRect();
        extent.right = std::max(extent.right, box.right);
        extent.bottom = std::max(extent.bottom, box.bottom);
    };
    if (const CvxSprite* background = m_pCanvas->Background()) widen(*background);
    for (const auto& object : m_objects) widen(*object);
    return extent;
}

CPoint CvxDoc::GetOrigin() const {
    CPoint origin;
    if (const CvxSprite* background = m_pCanvas->Background()) {
        const CRect box = background->GetBoundingRect();
        origin = {box.left, box.top};
    }
    for (const auto& object : m_objects) {
        const CRect box = object->GetBoundingRect();
        origin.x = std::min(origin.x, box.left);
        origin.y = std::min(origin.y, box.top);
    }
    return origin;
}

CvxSprite* CvxDoc::TakeSingleMarked() {
    CvxSprite* single = nullptr;
    int marked = 0;
    for (const auto& object : m_objects) {
        if (object->m_nGroupMark) {
            ++marked;
            single = object.get();
        }
        object->m_nGroupMark = 0;
    }
    return marked == 1 ? single : nullptr;
}

// ---------------------------------------------------------------------------------------
// Redraw bracket

bool CvxDoc::CheckOverlapsAboveSelection() {
    if (!m_pSelected) return false;
    const CRect selection = m_pSelected->GetBoundingRect();
    bool found = false;
    for (const auto& entry : m_objects) {
        CvxSprite& object = *entry;
        if (&object == m_pSelected) break;
        if (object.m_nPendingBlendMode == 0 && object.m_blend.mode == 0) continue;
        if (!Meet(selection, object.GetBoundingRect())) continue;
        if (object.m_nPendingBlendMode == 0) object.m_nPendingBlendMode = object.m_blend.mode;
        found = true;
    }
    return found;
}

void CvxDoc::PrepareForEdit() {
    m_bNeedsFullRecomposition = false;
    if (m_pSelected && HasBlend(*m_pSelected)) {
        m_pSelected->m_nPendingBlendMode = m_pSelected->m_blend.mode;
        m_bNeedsFullRecomposition = true;
        CheckOverlapsAboveSelection();
    } else if (CheckOverlapsAboveSelection()) {
        m_bNeedsFullRecomposition = true;
    }
}

void CvxDoc::Redraw(CvxDocumentView* view, bool force) {
    bool full = m_bNeedsFullRecomposition || force;
    if (force) m_pCanvas->m_bFullRecompositionNeeded = true;
    if (m_pSelected && CheckOverlapsAboveSelection()) full = true;
    if (full) {
        m_pCanvas->m_bFullRecompositionNeeded = true;
        m_pCanvas->Recompose(view, 0);
    } else if (m_pSelected && m_pSelected->m_nPendingBlendMode != 0) {
        if (m_pCanvas->m_bFullRecompositionNeeded)
            m_pCanvas->Recompose(view, 0);
        else
            edgeeffect::ReapplyPendingEffect(*m_pSelected, view);
    }
    m_bNeedsFullRecomposition = false;
}

bool CvxDoc::MarkBlendedObjects() {
    for (const auto& object : m_objects) {
        if (object->m_blend.mode == 2 || object->m_blend.mode == 3) {
            object->m_nPendingBlendMode = object->m_blend.mode;
            m_bNeedsFullRecomposition = true;
        }
    }
    return m_bNeedsFullRecomposition;
}

// ---------------------------------------------------------------------------------------
// Files

void CvxDoc::DeleteContents() {
    m_pSelected = nullptr;
    m_objects.clear();
    m_deleteBin.clear();
    m_pPendingImage.reset();
    m_pCanvas = std::make_unique<CvxCanvas>(*this);
    m_gridPoints.fill(CPoint{});
    m_nGridPoints = 0;
    m_bNeedsFullRecomposition = false;
}

bool CvxDoc::OnNewDocument() {
    if (HelpRequested("Standard_IO.htm")) return false;
    DeleteContents();
    m_bModified = false;
    return true;
}

bool CvxDoc::OnCloseDocument() { return !HelpRequested("Standard_IO.htm"); }

bool CvxDoc::OnOpenDocument(const std::string& path) {
    DeleteContents();
    const int loaded = LoadFile(path);
    m_strPathName = path;
    m_bModified = false;
    return loaded != 0;
}

int CvxDoc::LoadFile(const std::string& path) {
    auto image = std::make_unique<CvxDIB>();
    const int result = image->LoadFromFile(path, nullptr, nullptr, this);
    if (!image->IsEmpty()) m_pPendingImage = std::move(image);
    return result;
}

namespace {

// The name Save As proposes: the file name without its extension, cut at the first space,
// number sign, percent sign, semicolon or backslash.
std::string ProposedName(const std::string& path, std::string& extension) {
    const auto slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (dot != std::string::npos) name.resize(dot);
    const auto cut = name.find_first_of(" #%;\\");
    if (cut != std::string::npos) name.resize(cut);
    return name;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasGifExtension(const std::string& path) {
    return path.size() >= 4 && Lowered(path.substr(path.size() - 4)) == ".gif";
}

int FilterEntryFor(const std::string& name) {
    const std::string extension = Lowered(name);
    if (extension == "tif") return 5;
    if (extension == "gif") return 4;
    if (extension == "jpg") return 3;
    if (extension == "bmp") return 2;
    return 1;
}

}  // namespace

bool CvxDoc::DoSave(const std::string& requestedPath, bool replace) {
    if (HelpRequested("Save_File.htm")) return false;
    std::string path = requestedPath;
    if (path.empty()) {
        std::string extension;
        const std::string proposed = ProposedName(m_strPathName, extension);
        CvxOpenDlg dialog(false, CvxOpenDlg::kImageFilter, proposed, "tif");
        dialog.SetFilterIndex(FilterEntryFor(extension));
        if (dialog.DoModal() != platform::IDOK) return false;
        path = dialog.PathName();
    }
    platform::BusyCursor busy;
    const bool saved = OnSaveDocument(path);
    if (saved && replace) m_strPathName = path;
    return saved;
}

bool CvxDoc::OnSaveDocument(const std::string& path) {
    const CRect extent = GetExtent();
    if (extent.right < 1 || extent.bottom < 1) {
        // The extent reaches from the canvas origin: nothing lies on the canvas, so no file.
        platform::ShowMessage(kNothingToSaveMessage);
        return false;
    }
    std::unique_ptr<CvxDIB> flattened = FlattenUsedCanvas();
    bool saved = false;
    if (flattened) {
        // GIF holds 256 colours: the flattened picture is reduced first.
        std::unique_ptr<CvxDIB> reduced;
        const bool reduce = HasGifExtension(path) || flattened->BitCount() == 8;
        if (reduce) {
            platform::BusyCursor busy;
            reduced = CvxSprite::ReduceTo256(*flattened);
        }
        if (!reduce || reduced)
            saved = (reduced ? *reduced : *flattened).SaveToFile(path, this) != 0;
        else
            platform::Trace("In OnSaveDocument: out of memory for the 256-colour picture");
        if (saved) m_bModified = false;
    }
    return saved;
}

std::unique_ptr<CvxDIB> CvxDoc::FlattenUsedCanvas() {
    const CRect extent = GetExtent();
    if (extent.right < 1 || extent.bottom < 1) return nullptr;
    m_pSelected = nullptr;
    m_pCanvas->PrepareForSave();
    std::unique_ptr<CvxDIB> flattened = m_pCanvas->Flatten(&extent);
    m_pCanvas->RebuildBackgroundLayer();
    return flattened;
}

void CvxDoc::PlacePendingImage(CvxDocumentView* view) {
    if (m_pPendingImage) {
        auto object = std::make_unique<CvxSprite>(this);
        if (object->CreateFromImage(view, std::move(m_pPendingImage))) AddObjectAtHead(std::move(object));
        return;
    }
    m_pCanvas->PrepareBackground(view);
}

// ---------------------------------------------------------------------------------------
// Project files

void CvxDoc::LoadProject(CvxTiff& file) {
    m_pProjectStream = std::make_unique<CvxProjectStream>(file);
    CvxProjectStream& stream = *m_pProjectStream;
    bool first = true;
    if (stream.BeginRead()) {
        while (!stream.Stopped() && stream.HasImage()) {
            // At the top level no group is open: a record naming one points at nothing.
            if (stream.Record()[objectrecord::kGroupSequence] != 0) {
                platform::Trace("In LoadProject: page " + std::to_string(stream.ReadingIndex()) +
                                " names a group that is not open; load stopped");
                break;
            }
            const bool background = (stream.Record()[objectrecord::kFlags] & objectrecord::kBackgroundFlag) != 0;
            std::unique_ptr<CvxSprite> object = ReadObject();
            if (!object) break;
            if (first && background && !m_pCanvas->Background())
                m_pCanvas->AdoptBackground(std::move(object));
            else
                AddObjectAtHead(std::move(object));
            first = false;
        }
    }
    m_pProjectStream.reset();
}

namespace {

// The page reader gives transparent pixels the clamped colour 010101, and the compositor
// adds the colour of transparent pixels to what lies below: a reopened project would show
// a faint box around every object. Its transparent pixels are made transparent black again,
// as they were saved.
void ClearTransparentColour(CvxDIB& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* pixel = picture.RowAt(y);
        for (int x = 0; x < picture.Width(); ++x, pixel += 4)
            if (pixel[3] == 0) std::memset(pixel, 0, 4);
    }
}

// A transformed object's picture is its source warped onto its corners again. Corners that
// no longer describe a quadrilateral leave the untransformed picture in its place.
void RebuildTransformedPicture(CvxSprite& object) {
    const CvxSprite& source = *object.TransformSource();
    const CvxCorners corners = object.m_corners;
    std::unique_ptr<CvxDIB> picture =
        source.Image() ? WarpByCorners(*source.Image(), CornerQuad{source.m_corners}, CornerQuad{corners}) : nullptr;
    if (picture) {
        object.Attach(std::move(picture), nullptr, &corners, false);
    } else if (source.Image()) {
        object.SetImage(source.Image()->Clone());
    }
}

}  // namespace

std::unique_ptr<CvxSprite> CvxDoc::ReadObject() {
    CvxProjectStream* stream = m_pProjectStream.get();
    if (!stream || stream->Stopped()) return nullptr;
    const objectrecord::Words record = stream->Record();
    // Sequence numbers count the object pages from 1; a record that disagrees with its page,
    // or a page without a picture or a whole record, ends the load.
    if (!stream->HasImage() || !stream->RecordIsWhole() || record[objectrecord::kSequence] != stream->ReadingIndex()) {
        if (stream->HasImage()) platform::Trace("In ReadObject: object record of page " +
                                                std::to_string(stream->ReadingIndex()) + " not trusted; load stopped");
        stream->Stop();
        return nullptr;
    }
    std::unique_ptr<CvxSprite> pageObject;
    if (record[objectrecord::kKind] == CvxSpriteGroup::kKind)
        pageObject = std::make_unique<CvxSpriteGroup>();
    else
        pageObject = std::make_unique<CvxSprite>(this);
    pageObject->SetDocument(this);
    std::unique_ptr<CvxDIB> picture = stream->TakeImage();
    ClearTransparentColour(*picture);
    pageObject->Attach(std::move(picture), nullptr, nullptr, false);
    CvxSprite& page = *pageObject;

    std::unique_ptr<CvxSprite> object;
    if (record[objectrecord::kFlags] & objectrecord::kTransformedFlag) {
        object = std::make_unique<CvxSprite>(this);
        object->SetTransformSource(std::move(pageObject));
    } else {
        object = std::move(pageObject);
    }
    objectrecord::CopyInto(record, *object);
    if (object->TransformSource()) RebuildTransformedPicture(*object);
    stream->NextPage();
    page.LoadChildren(record[objectrecord::kSequence]);
    return object;
}

int CvxDoc::SaveProject(CvxTiff& file) {
    m_pProjectStream = std::make_unique<CvxProjectStream>(file);
    CvxProjectStream& stream = *m_pProjectStream;
    stream.BeginWrite();
    if (CvxSprite* background = m_pCanvas->Background()) stream.WriteObject(*background, 0, true);
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it) stream.WriteObject(**it, 0, false);
    const bool written = !stream.Failed();
    m_pProjectStream.reset();
    return written ? 1 : 0;
}
