#pragma once
// A group: a canvas object made of several others. It behaves as one object (its own
// composite image, position, history and blend settings) and keeps its members, positioned
// relative to the group, so that it can be split again.

#include <list>
#include <memory>

#include "document/CvxSprite.h"

class CvxSpriteGroup : public CvxSprite {
public:
    static constexpr int kKind = 1;
    using MemberList = std::list<std::unique_ptr<CvxSprite>>;  // head = top-most member

    // Groups are made without a document; building or reading one gives it its document.
    CvxSpriteGroup() : CvxSprite(nullptr) {}

    int GetKind() const override { return kKind; }
    // The group's own history, then its members: afterwards it can no longer be split.
    void EmptyHistory() override;
    bool HasHistory() const override;
    // Project files: members follow their group, each naming the group's sequence number.
    void LoadChildren(int sequenceNumber) override;
    void SaveChildren(int sequenceNumber) override;

    // Groups every object of the document that carries the group tool's mark; the group
    // takes the z-order place of its top-most member. Returns the listed group, or null when
    // nothing is marked or memory runs out (the document is then unchanged).
    static CvxSpriteGroup* BuildGroup(CvxDoc& document);
    // Puts the members back into the document where the group was, takes the group out of
    // the list and hands it back emptied; null (and nothing changes) when the group is not
    // listed or has no members left.
    std::unique_ptr<CvxSprite> Ungroup(CvxDocumentView* view);

    const MemberList& Members() const { return m_members; }
    void AddMemberAtHead(std::unique_ptr<CvxSprite> member) { m_members.push_front(std::move(member)); }

private:
    MemberList m_members;
};
