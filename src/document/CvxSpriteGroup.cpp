#include "document/CvxSpriteGroup.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxProjectStream.h"
#include "document/ObjectRecord.h"

void CvxSpriteGroup::EmptyHistory() {
    CvxSprite::EmptyHistory();
    m_members.clear();
}

bool CvxSpriteGroup::HasHistory() const { return m_members.size() > 1 || CvxSprite::HasHistory(); }

CvxSpriteGroup* CvxSpriteGroup::BuildGroup(CvxDoc& document) {
    // The union of the marked objects, and where the first of them stands in the list.
    CRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    std::size_t firstIndex = 0;
    bool anyMarked = false;
    std::size_t index = 0;
    for (const auto& object : document.Objects()) {
        if (object->m_nGroupMark) {
            if (!anyMarked) firstIndex = index;
            anyMarked = true;
            const CRect box = object->GetBoundingRect();
            bounds = {std::min(bounds.left, box.left), std::min(bounds.top, box.top),
                      std::max(bounds.right, box.right), std::max(bounds.bottom, box.bottom)};
        }
        ++index;
    }
    if (!anyMarked) return nullptr;

    // The group's picture is one column and one row larger than the union.
    const std::int64_t width = std::int64_t{bounds.right} - bounds.left + 1;
    const std::int64_t height = std::int64_t{bounds.bottom} - bounds.top + 1;
    auto composite = std::make_unique<CvxDIB>();
    if (!CvxDIB::SizeIsSane(width, height, 32) ||
        !composite->Create(static_cast<int>(width), static_cast<int>(height), 32))
        return nullptr;
    std::memset(composite->Bits(), 0, std::size_t(composite->RowBytes()) * composite->Height());

    auto group = std::make_unique<CvxSpriteGroup>();
    group->SetDocument(&document);
    std::vector<CvxSprite*> marked;
    for (const auto& object : document.Objects())
        if (object->m_nGroupMark) marked.push_back(object.get());
    for (CvxSprite* object : marked) {
        if (document.GetSelected() == object) document.SetSelected(nullptr);
        group->m_members.push_back(document.RemoveObject(object));
    }

    group->m_x = bounds.left;
    group->m_y = bounds.top;
    for (auto it = group->m_members.rbegin(); it != group->m_members.rend(); ++it) {
        CvxSprite& member = **it;
        member.m_x -= bounds.left;
        member.m_y -= bounds.top;
        member.EnsureDisplayBitmap();
        CvxCanvas::DrawObject(member, *composite);
        member.ReleaseOutlineMaskAndReducedCopy();
        member.ReleaseDisplayBitmap();
    }
    group->SetImage(std::move(composite));
    group->PrepareDisplayBitmap();
    return static_cast<CvxSpriteGroup*>(document.InsertObjectAt(firstIndex, std::move(group)));
}

std::unique_ptr<CvxSprite> CvxSpriteGroup::Ungroup(CvxDocumentView* view) {
    CvxDoc* document = Document();
    // A group whose members were emptied away is a single object now: it stays as it is.
    if (!document || !document->FindSlot(this) || m_members.empty()) return nullptr;
    bool first = true;
    while (!m_members.empty()) {
        std::unique_ptr<CvxSprite> member = std::move(m_members.back());
        m_members.pop_back();
        int x = member->m_x + m_x;
        int y = member->m_y + m_y;
        const CvxBlendSettings& blend = member->m_blend;
        if (!member->UnblendedCopy() && blend.mode >= 1 && blend.mode <= 3) {
            if (blend.mode == 3 && (blend.autoBlend || blend.autoFeather)) {
                x += 3;
                y += 3;
            }
            member->ResetCorners();
        }
        member->m_x = x;
        member->m_y = y;
        if (!member->DisplayBitmap()) member->m_nPendingBlendMode = blend.mode;
        member->SetDocument(document);
        CvxSprite* placed = document->InsertObjectBelow(this, std::move(member));
        if (first) document->SetSelected(placed);
        first = false;
    }
    std::unique_ptr<CvxSprite> self = document->RemoveObject(this);
    document->Canvas().Recompose(view, 0);
    document->SetSelected(nullptr);
    return self;
}

void CvxSpriteGroup::LoadChildren(int sequenceNumber) {
    CvxDoc* document = Document();
    CvxProjectStream* stream = document ? document->ProjectStream() : nullptr;
    if (!stream) return;
    // Members were written bottom-most first: adding each at the head restores the order.
    while (!stream->Stopped() && stream->HasImage() &&
           stream->Record()[objectrecord::kGroupSequence] == sequenceNumber) {
        std::unique_ptr<CvxSprite> member = document->ReadObject();
        if (!member) break;
        m_members.push_front(std::move(member));
    }
}

void CvxSpriteGroup::SaveChildren(int sequenceNumber) {
    CvxDoc* document = Document();
    CvxProjectStream* stream = document ? document->ProjectStream() : nullptr;
    if (!stream) return;
    for (auto it = m_members.rbegin(); it != m_members.rend(); ++it) stream->WriteObject(**it, sequenceNumber, false);
}
