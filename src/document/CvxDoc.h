#pragma once
// The document: one per open file. It owns the compositor (and through it the background
// object), the live canvas objects in z-order, the delete bin and the grid points, and runs
// the open, save and project flows. Every object it lists, bins or holds as background is
// owned here, together with its history stack.

#include <array>
#include <list>
#include <memory>
#include <string>

#include "codecs/CvxProjectTarget.h"
#include "document/CvxCanvas.h"
#include "document/CvxSprite.h"
#include "image/CvxDIB.h"

class CvxDocumentView;
class CvxFrameLink;
class CvxProjectStream;
class CvxTiff;

class CvxDoc : public CvxProjectTarget {
public:
    // Head = top-most object, tail = bottom-most.
    using ObjectList = std::list<std::unique_ptr<CvxSprite>>;
    static constexpr int kMaxGridPoints = 500;
    // Shown instead of writing a file when no object reaches onto the canvas.
    static constexpr const char* kNothingToSaveMessage = "Failed to save: there is nothing on the canvas to save.";

    // A document whose canvas has the given side; only fuzzing asks for other than the default.
    explicit CvxDoc(int canvasSize = CvxCanvas::kDefaultSize);
    ~CvxDoc() override;
    CvxDoc(const CvxDoc&) = delete;
    CvxDoc& operator=(const CvxDoc&) = delete;

    // --- Framework state ---
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) {
        m_bModified = modified;
        if (modified) ++m_nChanges;
    }
    // Grows with every change, so a watcher can tell whether anything changed since it looked.
    std::uint64_t ChangeCount() const { return m_nChanges; }
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }
    // The main frame's help pages and memory indicator; null when there is no window.
    void SetFrame(CvxFrameLink* frame) { m_pFrame = frame; }

    bool OnNewDocument();
    bool OnOpenDocument(const std::string& path);
    // Flattens the used part of the canvas and saves it; an empty canvas writes nothing.
    bool OnSaveDocument(const std::string& path);
    // The used part of the canvas flattened over white, as saving writes it; null when the
    // canvas is empty. The selection is cleared.
    std::unique_ptr<CvxDIB> FlattenUsedCanvas();
    // False when F1 was held: the help page opened and the document stays open.
    bool OnCloseDocument();
    bool DoSave(const std::string& path, bool replace);
    // Empties the document: objects, delete bin, background, pending image, grid points.
    void DeleteContents();

    // --- Objects and selection ---
    CvxCanvas& Canvas() { return *m_pCanvas; }
    const CvxCanvas& Canvas() const { return *m_pCanvas; }
    const ObjectList& Objects() const { return m_objects; }
    const ObjectList& DeleteBin() const { return m_deleteBin; }
    CvxSprite* GetSelected() const { return m_pSelected; }
    void SetSelected(CvxSprite* object) { m_pSelected = object; }

    CvxSprite* AddObjectAtHead(std::unique_ptr<CvxSprite> object);
    CvxSprite* AddObjectAtTail(std::unique_ptr<CvxSprite> object);
    // Inserts before the index-th entry from the head, or at the tail when the list is shorter.
    CvxSprite* InsertObjectAt(std::size_t index, std::unique_ptr<CvxSprite> object);
    // Inserts just below (after) the listed anchor; at the tail when the anchor is not listed.
    CvxSprite* InsertObjectBelow(const CvxSprite* anchor, std::unique_ptr<CvxSprite> object);
    // The list entry holding the object, or null.
    std::unique_ptr<CvxSprite>* FindSlot(const CvxSprite* object);
    // The entry holding `old` now holds `replacement` and `old` is handed back; when `old` is
    // not listed, `replacement` goes to the head and the result is null.
    std::unique_ptr<CvxSprite> ReplaceObject(CvxSprite* old, std::unique_ptr<CvxSprite> replacement);
    std::unique_ptr<CvxSprite> RemoveObject(CvxSprite* object);

    // --- Z-order ---
    void BringToFront();
    void MoveAbove();
    void MoveBelow();
    CvxSprite* FindOverlapBelow(const CvxSprite& object) const;

    // --- Delete bin and histories ---
    void DeleteSelected();
    void MoveToDeleteBin(CvxSprite* object);
    CvxSprite* RestoreLastDeleted();
    void EmptyDeleteBin();
    void EmptyAllHistories();
    bool HasAnythingToEmpty() const;

    // --- Geometry ---
    CRect GetExtent() const;
    CPoint GetOrigin() const;
    CvxSprite* TakeSingleMarked();

    // --- Redraw bracket ---
    void PrepareForEdit();
    void Redraw(CvxDocumentView* view, bool force);
    bool MarkBlendedObjects();

    // --- Loading and saving ---
    int LoadFile(const std::string& path);
    void PlacePendingImage(CvxDocumentView* view);
    // The project loops: background first, then the objects bottom-most first, every group
    // followed by its members. A load stops, keeping what it has read, at the first record
    // it cannot trust; a save reports failure when any page could not be written.
    void LoadProject(CvxTiff& file) override;
    int SaveProject(CvxTiff& file) override;
    // The stream of the project being loaded or saved; null otherwise.
    CvxProjectStream* ProjectStream() const { return m_pProjectStream.get(); }
    // Makes the object of the current page (and of its members), then moves to the next page.
    std::unique_ptr<CvxSprite> ReadObject();
    const CvxDIB* PendingImage() const { return m_pPendingImage.get(); }

    std::int32_t m_nFeatherWidth = 5;
    bool m_bNeedsFullRecomposition = false;
    std::array<CPoint, kMaxGridPoints> m_gridPoints{};
    std::int32_t m_nGridPoints = 0;

private:
    bool HelpRequested(const char* page) const;
    void RefreshMemoryIndicator() const;
    // Objects above the selection that meet it get their blend re-applied; true when any did.
    bool CheckOverlapsAboveSelection();
    void ForgetSelectionIfIn(const ObjectList& doomed);
    ObjectList::iterator Find(const CvxSprite* object);

    bool m_bModified = false;
    std::uint64_t m_nChanges = 0;
    std::string m_strPathName;
    CvxFrameLink* m_pFrame = nullptr;
    ObjectList m_objects;
    ObjectList m_deleteBin;
    std::unique_ptr<CvxCanvas> m_pCanvas;
    CvxSprite* m_pSelected = nullptr;
    std::unique_ptr<CvxProjectStream> m_pProjectStream;
    std::unique_ptr<CvxDIB> m_pPendingImage;
};
