#pragma once
// Settings entries of an object's history: each records the settings an object had, so that
// Undo and Redo can step through them before they step through the object's images.

#include "document/CvxBlendSettings.h"
#include "document/CvxHistoryNode.h"

class CvxSprite;
class CvxDocumentView;

class CvxSettingsEntry : public CvxHistoryNode {
public:
    virtual int GetKind() const = 0;
    // Gives the object the recorded settings and shows the result.
    virtual void Apply(CvxSprite& object, CvxDocumentView* view) = 0;
};

class CvxBlendState : public CvxSettingsEntry {
public:
    static constexpr int kKind = 1;

    explicit CvxBlendState(const CvxBlendSettings& record) : m_record(record) {}

    int GetKind() const override { return kKind; }
    void Apply(CvxSprite& object, CvxDocumentView* view) override;
    const CvxBlendSettings& Record() const { return m_record; }

    CvxBlendState* OlderState() const { return static_cast<CvxBlendState*>(Older()); }
    CvxBlendState* NewerState() const { return static_cast<CvxBlendState*>(Newer()); }

    // Makes `next` the newest entry on top of `current` (whose newer entries are destroyed);
    // the caller held `current` as the root and now holds `next`.
    static std::unique_ptr<CvxBlendState> PushOnTop(std::unique_ptr<CvxBlendState> current,
                                                    std::unique_ptr<CvxBlendState> next);
    // Makes a neighbour of the current entry the current one; returns it as the new root.
    static std::unique_ptr<CvxBlendState> StepTo(std::unique_ptr<CvxBlendState> current, CvxBlendState& neighbour);

private:
    CvxBlendSettings m_record;
};
