#include "view/CvxEditCommands.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <vector>

#include "app/CommandIds.h"
#include "app/StringTable.h"
#include "codecs/CvxOpenDlg.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxSpriteGroup.h"
#include "platform/DataFolders.h"
#include "platform/PlatformServices.h"
#include "tools/CvxToolBase.h"
#include "tools/CvxToolMove.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

constexpr int kGridToolId = 18;
constexpr int kGroupToolId = 17;

bool Confirm(int stringId) {
    return platform::ShowMessage(FindString(stringId), platform::MessageStyle::OkCancel) == platform::IDOK;
}

// The 32-bit pixel of an object's image at a canvas point, or null outside the image.
std::uint8_t* PixelAtCanvasPoint(CvxSprite& object, CPoint canvas) {
    const int x = canvas.x - object.m_x;
    const int y = canvas.y - object.m_y;
    if (x < 0 || y < 0 || x >= object.Width() || y >= object.Height()) return nullptr;
    return object.Image()->PixelAt(x, y);
}

// The clipboard takes the picture as a packed block; a picture that cannot be packed
// leaves the clipboard as it was rather than emptying it.
void PutOnClipboard(const CvxDIB& picture) {
    platform::BusyCursor busy;
    const std::vector<std::uint8_t> block = picture.CopyToGlobalHandle();
    if (!block.empty()) platform::Services().SetClipboardBlock(block);
}

bool IsZero(const std::uint8_t* pixel) { return (pixel[0] | pixel[1] | pixel[2] | pixel[3]) == 0; }

bool Inside(CPoint point, const CRect& rect) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

// Moves the lower object's pixels under the upper object's shape into `taken` (a copy of
// the upper object's image) and leaves transparent zeros in the lower object.
void TakePixelsUnderShape(const CvxSprite& upper, CvxDIB& taken, CvxSprite& lower) {
    if (taken.BitCount() != 32 || !lower.Image() || lower.Image()->BitCount() != 32) return;
    for (int y = 0; y < upper.Height(); ++y)
        for (int x = 0; x < upper.Width(); ++x) {
            const CPoint canvas{upper.m_x + x, upper.m_y + y};
            if (!upper.HitTest(canvas)) continue;
            std::uint8_t* below = PixelAtCanvasPoint(lower, canvas);
            if (!below || IsZero(below)) continue;
            std::memcpy(taken.PixelAt(x, y), below, 4);
            std::memset(below, 0, 4);
        }
}

}  // namespace

CvxEditCommands::CvxEditCommands(CvxView& view, CvxViewHost& host) : m_view(view), m_host(host) {}

CvxDoc& CvxEditCommands::Document() { return *m_view.GetDocument(); }

CvxToolBase& CvxEditCommands::CurrentTool() { return *m_host.CurrentTool(); }

bool CvxEditCommands::TransformToolIsCurrent() { return CurrentTool().IsTransformTool(); }

// ---------------------------------------------------------------------------------------
// Dispatch

bool CvxEditCommands::OnCommand(int id) {
    switch (id) {
        case ID_EDIT_UNDO: Undo(); return true;
        case ID_EDIT_REDO: Redo(); return true;
        case ID_EDIT_COPY: Copy(); return true;
        case ID_EDIT_CUT: Cut(); return true;
        case ID_EDIT_PASTE: Paste(); return true;
        case ID_OBJECT_DELETE: Delete(false); return true;
        case ID_EDIT_DELETE: Delete(true); return true;
        case ID_EDIT_INSERT_IMAGE: InsertImage(); return true;
        case ID_EDIT_INSERT_FRAME: InsertFromFolder("frames"); return true;
        case ID_EDIT_INSERT_CLIPART: InsertFromFolder("clipart"); return true;
        case ID_FILE_SAVE_SELECTION: SaveSelection(); return true;
        case ID_FILE_SAVE_PROJECT: SaveProject(); return true;
        case ID_EDIT_EMPTY_DELETE_BIN: EmptyDeleteBin(); return true;
        case ID_EDIT_EMPTY_OBJECT_HISTORY: EmptyObjectHistory(); return true;
        case ID_EDIT_EMPTY_ALL_HISTORIES: EmptyAllHistories(); return true;
        case ID_EDIT_MOVE_ABOVE: ChangeStackingOrder(true); return true;
        case ID_EDIT_MOVE_BELOW: ChangeStackingOrder(false); return true;
        case ID_EDIT_UNGROUP: Ungroup(); return true;
        case ID_EDIT_SET_BACKGROUND: SetSelectionAsBackground(); return true;
        case ID_EDIT_RELEASE_BACKGROUND: ReleaseBackground(); return true;
        case ID_VIEW_CHECKERED: ToggleCheckered(); return true;
        case ID_VIEW_RULERS: ToggleRulers(); return true;
        default: return false;
    }
}

bool CvxEditCommands::OnUpdateCommand(int id, CommandUpdate& update) {
    CvxDoc& doc = Document();
    CvxSprite* selected = doc.GetSelected();
    const auto& objects = doc.Objects();
    switch (id) {
        case ID_EDIT_UNDO:
            CurrentTool().OnUpdateUndo(m_view, update);
            return true;
        case ID_EDIT_REDO:
            CurrentTool().OnUpdateRedo(m_view, update);
            return true;
        case ID_EDIT_COPY:
        case ID_EDIT_CUT:
        case ID_FILE_SAVE_SELECTION:
            update.Enable(selected != nullptr);
            return true;
        case ID_EDIT_PASTE:
            update.Enable(platform::Services().HasClipboardBlock());
            return true;
        case ID_OBJECT_DELETE:
        case ID_EDIT_DELETE:
            update.Enable(selected != nullptr && !TransformToolIsCurrent());
            return true;
        case ID_EDIT_INSERT_IMAGE:
        case ID_EDIT_INSERT_FRAME:
        case ID_EDIT_INSERT_CLIPART:
        case ID_FILE_SAVE_PROJECT:
            update.Enable();
            return true;
        case ID_EDIT_EMPTY_DELETE_BIN:
            update.Enable(!doc.DeleteBin().empty());
            return true;
        case ID_EDIT_EMPTY_OBJECT_HISTORY:
            update.Enable(selected != nullptr && selected->HasHistory());
            return true;
        case ID_EDIT_EMPTY_ALL_HISTORIES:
            update.Enable(doc.HasAnythingToEmpty());
            return true;
        case ID_EDIT_MOVE_ABOVE:
        case ID_EDIT_MOVE_BELOW: {
            // Only a listed object has a place to move from.
            const bool listed = selected != nullptr && doc.FindSlot(selected) != nullptr;
            const CvxSprite* end = listed ? (id == ID_EDIT_MOVE_ABOVE ? objects.front() : objects.back()).get() : nullptr;
            update.Enable(listed && selected != end && !TransformToolIsCurrent());
            return true;
        }
        case ID_EDIT_UNGROUP:
            update.Enable(selected != nullptr && selected->GetKind() == CvxSpriteGroup::kKind);
            return true;
        case ID_EDIT_SET_BACKGROUND:
            update.Enable(selected != nullptr && doc.Canvas().Background() == nullptr);
            return true;
        case ID_EDIT_RELEASE_BACKGROUND:
            update.Enable(&CurrentTool() == m_host.MoveTool() && doc.Canvas().Background() != nullptr);
            return true;
        case ID_VIEW_CHECKERED:
            update.Enable();
            update.SetCheck(doc.Canvas().m_bCheckered);
            return true;
        case ID_VIEW_RULERS:
            update.Enable();
            update.SetCheck(doc.Canvas().m_bRulers);
            return true;
        default:
            return false;
    }
}

// ---------------------------------------------------------------------------------------
// Placement

void CvxEditCommands::PlaceObject(CvxSprite& object, bool inset) {
    CPoint base = inset ? kInsertOrigin : m_view.m_lastPressPoint;
    base.x = std::max(base.x, 0);
    base.y = std::max(base.y, 0);
    if (m_bPlacedBefore && m_view.m_lastPressPoint == m_view.m_previousPlacementPoint) {
        // Bounded so that endless repetition cannot overflow; the position is capped anyway.
        m_view.m_nPlacementOffset = std::min(m_view.m_nPlacementOffset + kCascadeStep, kPlacementLimit);
        base.x = std::min(base.x + m_view.m_nPlacementOffset, kPlacementLimit);
        base.y = std::min(base.y + m_view.m_nPlacementOffset, kPlacementLimit);
    } else {
        m_view.m_nPlacementOffset = 0;
    }
    m_bPlacedBefore = true;
    m_view.m_previousPlacementPoint = m_view.m_lastPressPoint;
    object.m_x = base.x;
    object.m_y = base.y;
}

void CvxEditCommands::FinishWithMoveTool() {
    m_view.ResetToMoveTool();
    m_view.m_bSkipNextDraw = false;
    m_view.InvalidateCanvas();
}

// ---------------------------------------------------------------------------------------
// Undo, redo and the clipboard

void CvxEditCommands::Undo() {
    CvxZoomDC dc(m_view);
    CurrentTool().OnUndo(m_view);
}

void CvxEditCommands::Redo() {
    CvxZoomDC dc(m_view);
    CurrentTool().OnRedo(m_view);
}

void CvxEditCommands::Copy() {
    const CvxSprite* selected = Document().GetSelected();
    if (selected && selected->Image()) PutOnClipboard(*selected->Image());
}

void CvxEditCommands::Cut() {
    CvxDoc& doc = Document();
    if (doc.GetSelected()) m_view.FinishPendingTransform();
    CvxSprite* selected = doc.GetSelected();
    if (!selected) return;
    CvxZoomDC dc(m_view);
    CvxSprite* lower = doc.FindOverlapBelow(*selected);
    std::unique_ptr<CvxSprite> cutCopy = lower ? lower->Snapshot(false) : nullptr;
    std::unique_ptr<CvxDIB> taken = selected->Image() ? selected->Image()->Clone() : nullptr;
    if (!cutCopy || !taken) {
        // Nothing below to cut from: the object only goes to the delete bin.
        doc.DeleteSelected();
        m_view.ForgetObjectUnderPointer();
        doc.Canvas().m_bFullRecompositionNeeded = true;
        FinishWithMoveTool();
        return;
    }

    TakePixelsUnderShape(*selected, *taken, *cutCopy);
    const CRect shape = selected->GetBoundingRect();
    const CRect remaining = cutCopy->GetBoundingRect();
    if (!Inside({shape.left, shape.top}, remaining) || !Inside({shape.right, shape.bottom}, remaining)) {
        // The hole may have reached the picture's edge: trim the new margins away.
        if (std::unique_ptr<CvxSprite> trimmed = cutCopy->Snapshot(false)) cutCopy = std::move(trimmed);
    }
    cutCopy->PrepareDisplayBitmap();
    PutOnClipboard(*taken);
    // The cut lands on the lower object's history, so Undo there brings its pixels back.
    CvxSprite* live = CvxSprite::CommitOver(std::move(cutCopy), lower);
    // The cut object keeps its own history in the delete bin.
    doc.MoveToDeleteBin(selected);
    m_view.ForgetObjectUnderPointer();
    doc.SetSelected(live);
    doc.SetModifiedFlag();
    doc.Canvas().m_bFullRecompositionNeeded = true;
    FinishWithMoveTool();
}

void CvxEditCommands::Paste() {
    CvxDoc& doc = Document();
    CvxZoomDC dc(m_view);
    std::optional<std::vector<std::uint8_t>> block = platform::Services().GetClipboardBlock();
    if (block) {
        platform::BusyCursor busy;
        auto image = std::make_unique<CvxDIB>(*block);
        block.reset();
        auto object = std::make_unique<CvxSprite>(&doc);
        // A block that is no usable bitmap is refused here, with the reason shown.
        if (object->CreateFromImage(&m_view, std::move(image))) {
            PlaceObject(*object, false);
            CvxSprite* placed = doc.AddObjectAtHead(std::move(object));
            doc.SetModifiedFlag();
            m_view.SelectCanvasObject(placed, false);
        }
    }
    FinishWithMoveTool();
    m_view.m_bIgnoreNextPointerEvent = false;
}

// ---------------------------------------------------------------------------------------
// Delete, insert and save

void CvxEditCommands::Delete(bool fromEditMenu) {
    CvxDoc& doc = Document();
    CvxZoomDC dc(m_view);
    doc.PrepareForEdit();
    doc.DeleteSelected();
    m_view.ForgetObjectUnderPointer();
    doc.Redraw(&m_view, true);
    if (fromEditMenu) m_view.m_bSkipNextDraw = false;
    m_view.InvalidateCanvas();
}

void CvxEditCommands::InsertImage() {
    CvxDoc& doc = Document();
    CvxZoomDC dc(m_view);
    doc.SetSelected(doc.Objects().empty() ? nullptr : doc.Objects().front().get());
    auto image = std::make_unique<CvxDIB>();
    if (!image->LoadFromFile(std::string(), nullptr, nullptr, &doc)) {
        m_view.InvalidateCanvas();
        return;
    }
    {
        platform::BusyCursor busy;
        if (!image->IsEmpty()) {
            auto object = std::make_unique<CvxSprite>(&doc);
            if (object->CreateFromImage(&m_view, std::move(image))) {
                PlaceObject(*object, true);
                doc.AddObjectAtHead(std::move(object));
            }
        } else {
            // A project's objects went straight into the document; its background may be new.
            image.reset();
            doc.Canvas().PrepareBackground(&m_view);
        }
        doc.SetSelected(nullptr);
        doc.SetModifiedFlag();
        doc.Canvas().m_bFullRecompositionNeeded = true;
        FinishWithMoveTool();
    }
}

void CvxEditCommands::InsertFromFolder(const std::string& name) {
    // The installed folder is offered for this one dialog; the remembered folder stays as it was.
    const std::string folder = platform::DataFolder(name);
    auto image = std::make_unique<CvxDIB>();
    if (!image->LoadFromFile(std::string(), &folder)) return;
    CvxDoc& doc = Document();
    CvxZoomDC dc(m_view);
    auto object = std::make_unique<CvxSprite>(&doc);
    if (!object->CreateFromImage(&m_view, std::move(image))) return;
    CvxSprite* placed = doc.AddObjectAtHead(std::move(object));
    doc.SetModifiedFlag();
    m_view.SelectCanvasObject(placed, false);
}

void CvxEditCommands::SaveSelection() {
    CvxSprite* selected = Document().GetSelected();
    if (!selected || !selected->Image()) return;
    // JPEG has no transparency: it is offered only for objects without transparent pixels.
    const int filter = selected->Image()->IsFullyOpaque() ? CvxOpenDlg::kImageFilter : CvxOpenDlg::kTransparentImageFilter;
    CvxOpenDlg dialog(false, filter, std::string(), "tif");
    if (dialog.DoModal() != platform::IDOK) return;
    const std::string& path = dialog.PathName();
    std::string tag = path.substr(path.size() - std::min<std::size_t>(path.size(), 4));
    for (char& c : tag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const CvxDIB* picture = selected->Image();
    if (tag == ".gif") {
        // A GIF is the object's 256-colour copy, which the edge clip tool shares.
        if (!selected->ReducedCopy()) selected->BuildReducedCopy();
        if (const CvxDIB* reduced = selected->ReducedCopy(); reduced && !reduced->IsEmpty()) picture = reduced;
    }
    picture->SaveToFile(path);
}

void CvxEditCommands::SaveProject() {
    CvxOpenDlg dialog(false, CvxOpenDlg::kProjectFilter, std::string(), "tif");
    if (dialog.DoModal() != platform::IDOK) return;
    platform::BusyCursor busy;
    Document().OnSaveDocument(dialog.PathName());
    m_view.InvalidateCanvas();
}

// ---------------------------------------------------------------------------------------
// Histories

void CvxEditCommands::EmptyDeleteBin() {
    if (Confirm(IDS_CONFIRM_EMPTY_DELETE_BIN)) Document().EmptyDeleteBin();
}

void CvxEditCommands::EmptyObjectHistory() {
    CvxSprite* selected = Document().GetSelected();
    if (selected && Confirm(IDS_CONFIRM_EMPTY_OBJECT_HISTORY)) selected->EmptyHistory();
}

void CvxEditCommands::EmptyAllHistories() {
    if (Confirm(IDS_CONFIRM_EMPTY_ALL_HISTORIES)) Document().EmptyAllHistories();
}

// ---------------------------------------------------------------------------------------
// Stacking order and the background object

void CvxEditCommands::ChangeStackingOrder(bool above) {
    CvxZoomDC dc(m_view);
    static_cast<CvxToolMove*>(m_view.ResetToMoveTool())->ChangeStackingOrder(m_view, above);
    m_view.m_bSkipNextDraw = false;
    m_view.InvalidateCanvas();
}

void CvxEditCommands::SetSelectionAsBackground() {
    CvxDoc& doc = Document();
    if (doc.GetSelected()) m_view.FinishPendingTransform();
    CvxSprite* selected = doc.GetSelected();
    if (!selected) return;
    doc.Canvas().SetBackground(selected);
    doc.Canvas().m_bFullRecompositionNeeded = true;
    doc.SetModifiedFlag();
    m_view.ClearSelection();
    m_view.InvalidateCanvas();
}

void CvxEditCommands::ReleaseBackground() {
    CvxDoc& doc = Document();
    if (!doc.Canvas().Background()) return;
    CvxZoomDC dc(m_view);
    doc.Canvas().ReleaseBackground();
    doc.SetModifiedFlag();
    m_view.SelectCanvasObject(doc.Objects().back().get(), false);
}

// ---------------------------------------------------------------------------------------
// Canvas backgrounds

void CvxEditCommands::ToggleCheckered() {
    CvxCanvas& canvas = Document().Canvas();
    canvas.m_bCheckered = !canvas.m_bCheckered;
    RecomposeBackground();
}

void CvxEditCommands::ToggleRulers() {
    CvxDoc& doc = Document();
    {
        CvxZoomDC dc(m_view);
        if (CurrentTool().GetToolId() == kGridToolId) {
            // Ending grid placement counts the point under the last press, as a double click does.
            doc.m_nGridPoints = std::min(doc.m_nGridPoints + 1, CvxDoc::kMaxGridPoints);
            CurrentTool().OnLButtonDblClk(m_view, m_view.m_lastPressPoint);
        }
    }
    CvxCanvas& canvas = doc.Canvas();
    canvas.m_bRulers = !canvas.m_bRulers;
    RecomposeBackground();
}

void CvxEditCommands::RecomposeBackground() {
    CvxDoc& doc = Document();
    CvxCanvas& canvas = doc.Canvas();
    canvas.RebuildBackgroundLayer();
    canvas.m_bFullRecompositionNeeded = true;
    canvas.Compose();
    if (doc.MarkBlendedObjects()) {
        // Blends that depend on what lies below are worked out again over the new background.
        CvxZoomDC dc(m_view);
        doc.Redraw(&m_view, true);
    }
    m_view.m_bSkipNextDraw = false;
    m_view.InvalidateCanvas();
}

void CvxEditCommands::Ungroup() {
    auto* group = dynamic_cast<CvxSpriteGroup*>(m_view.GetDocument()->GetSelected());
    if (!group) return;
    CvxZoomDC dc(m_view);
    // The group tool's activation clears every mark before the members come back.
    if (CvxToolBase* groupTool = m_host.ToolById(kGroupToolId)) groupTool->Activate(&m_view);
    m_view.GetDocument()->SetSelected(nullptr);
    const std::unique_ptr<CvxSprite> emptied = group->Ungroup(&m_view);
    m_view.ResetToMoveTool();
    m_view.GetDocument()->SetModifiedFlag();
    m_view.InvalidateCanvas();
}
