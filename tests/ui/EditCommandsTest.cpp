#include "EditCommandsFixture.h"

#include "codecs/CvxOpenDlg.h"
#include "tools/CvxToolBase.h"

using namespace testsupport;

namespace {

constexpr Rgba kRed{200, 0, 0, 255};
constexpr Rgba kClear{0, 0, 0, 0};

// 20 x 10: the left half red, the right half fully transparent.
std::unique_ptr<CvxDIB> HalfTransparentImage() {
    auto image = MakeImage(20, 10, kRed);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x) SetPixel(*image, x, y, kClear);
    return image;
}

CPoint Position(const CvxSprite& object) { return {object.m_x, object.m_y}; }

}  // namespace

// --- Cut ---------------------------------------------------------------------------------

TEST_F(EditCommandsTest, CutAtThePicturesCornerTrimsTheEmptiedMarginAndCutOverNothingOnlyBins) {
    // A shape covering the whole top rows: the cut copy loses those rows and moves down.
    const int left = Photo().m_x - 5, top = Photo().m_y - 5;
    auto bar = MakeImage(310, 15, kRed);
    CvxSprite& shape = AddObject(std::move(bar), left, top);
    Document().SetSelected(&shape);
    m_frame->SendCommand(ID_EDIT_CUT);
    ASSERT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(Photo().m_y, top + 15);
    EXPECT_EQ(Photo().Height(), 200 - 10);
    EXPECT_EQ(GetPixel(*Photo().Image(), 0, 0), (Rgba{90, 10, 0, 255}));

    // An object over nothing is only binned.
    CvxSprite& lonely = AddObject(MakeImage(10, 10, kRed), 1500, 1500);
    Document().SetSelected(&lonely);
    m_platform.ClearClipboard();
    m_frame->SendCommand(ID_EDIT_CUT);
    EXPECT_FALSE(m_platform.HasClipboardBlock());
    EXPECT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(Document().DeleteBin().size(), 2u);
    EXPECT_EQ(Document().GetSelected(), nullptr);
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));
}

// --- Paste and Insert Image --------------------------------------------------------------

TEST_F(EditCommandsTest, UnusableBlocksPasteNothingAndRepeatedPastesCascadeByThreePixelsUpToTheLimit) {
    ASSERT_FALSE(Enabled(ID_EDIT_PASTE)) << "nothing on the clipboard";
    ASSERT_TRUE(m_platform.SetClipboardBlock({1, 2, 3, 4, 5}));
    m_frame->SendCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Document().Objects().size(), 1u);
    EXPECT_FALSE(m_platform.Messages().empty()) << "the refusal is explained";
    EXPECT_EQ(m_platform.BusyDepth(), 0);

    ASSERT_TRUE(m_platform.SetClipboardBlock(MakeImage(8, 6, {1, 2, 3, 255})->CopyToGlobalHandle()));
    ASSERT_TRUE(Enabled(ID_EDIT_PASTE));
    auto paste = [this] {
        const std::size_t before = Document().Objects().size();
        m_frame->SendCommand(ID_EDIT_PASTE);
        EXPECT_EQ(Document().Objects().size(), before + 1);
        EXPECT_EQ(Document().GetSelected(), Document().Objects().front().get());
        return Position(*Document().Objects().front());
    };
    View().m_lastPressPoint = {100, 60};
    EXPECT_EQ(paste(), (CPoint{100, 60}));
    EXPECT_EQ(paste(), (CPoint{103, 63}));
    EXPECT_EQ(paste(), (CPoint{106, 66}));

    View().m_lastPressPoint = {1990, 1993};  // a click elsewhere starts again
    EXPECT_EQ(paste(), (CPoint{1990, 1993}));
    EXPECT_EQ(paste(), (CPoint{1993, 1994}));
    EXPECT_EQ(paste(), (CPoint{1994, 1994}));

    View().m_lastPressPoint = {-7, 30};
    EXPECT_EQ(paste(), (CPoint{0, 30}));
    EXPECT_EQ(GetPixel(*Document().Objects().front()->Image(), 7, 5), (Rgba{1, 2, 3, 255}));
}

TEST_F(EditCommandsTest, InsertImageStartsAtTheInsetAndCascades) {
    ASSERT_TRUE(MakeImage(30, 20, {5, 6, 7, 255})->SaveToFile(m_dir.File("stamp.bmp")));
    for (int i = 0; i < 3; ++i) m_platform.QueueFileDialogAnswer(m_dir.File("stamp.bmp"));
    m_frame->SendCommand(ID_EDIT_INSERT_IMAGE);
    EXPECT_EQ(Position(*Document().Objects().front()), (CPoint{43, 43}));
    m_frame->SendCommand(ID_EDIT_INSERT_IMAGE);
    EXPECT_EQ(Position(*Document().Objects().front()), (CPoint{46, 46}));
    EXPECT_EQ(Document().Objects().size(), 3u);
    EXPECT_EQ(Document().GetSelected(), nullptr);
    EXPECT_TRUE(Document().IsModified());

    View().m_lastPressPoint = {700, 700};
    m_frame->SendCommand(ID_EDIT_INSERT_IMAGE);
    EXPECT_EQ(Position(*Document().Objects().front()), (CPoint{43, 43}));

    // A cancelled dialog changes nothing.
    m_frame->SendCommand(ID_EDIT_INSERT_IMAGE);
    EXPECT_EQ(Document().Objects().size(), 4u);
    EXPECT_EQ(m_platform.BusyDepth(), 0);
}

// --- Delete, stacking order and background ----------------------------------------------

TEST_F(EditCommandsTest, StackingBackgroundAndDeleteCommandsFollowTheSelectionAndCanvasTogglesShowTheirMarks) {
    CvxSprite& top = AddObject(MakeImage(10, 10, kRed), Photo().m_x + 5, Photo().m_y + 5);
    CvxSprite* photo = &Photo();
    Document().SetSelected(nullptr);
    for (const int id : {ID_EDIT_MOVE_ABOVE, ID_EDIT_MOVE_BELOW, ID_EDIT_DELETE, ID_OBJECT_DELETE})
        EXPECT_FALSE(Enabled(id)) << id;

    // Down and up the stack: the end the object has reached disables its way.
    Document().SetSelected(&top);
    EXPECT_FALSE(Enabled(ID_EDIT_MOVE_ABOVE));
    m_frame->SendCommand(ID_EDIT_MOVE_BELOW);
    EXPECT_EQ(Document().Objects().back().get(), &top);
    EXPECT_EQ(Document().Objects().front().get(), photo);
    EXPECT_TRUE(Enabled(ID_EDIT_MOVE_ABOVE));
    EXPECT_FALSE(Enabled(ID_EDIT_MOVE_BELOW));
    m_frame->SendCommand(ID_EDIT_MOVE_ABOVE);
    EXPECT_EQ(Document().Objects().front().get(), &top);

    // The photograph becomes the background, one at a time, and comes back at the bottom.
    Document().SetSelected(photo);
    EXPECT_FALSE(Enabled(ID_EDIT_RELEASE_BACKGROUND));
    m_frame->SendCommand(ID_EDIT_SET_BACKGROUND);
    EXPECT_EQ(Document().Canvas().Background(), photo);
    EXPECT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(Document().GetSelected(), nullptr);
    Document().SetSelected(&top);
    EXPECT_FALSE(Enabled(ID_EDIT_SET_BACKGROUND)) << "one background at a time";
    m_frame->SendCommand(ID_EDIT_RELEASE_BACKGROUND);
    EXPECT_EQ(Document().Canvas().Background(), nullptr);
    EXPECT_EQ(Document().Objects().back().get(), photo);
    EXPECT_EQ(Document().GetSelected(), photo);

    // Both delete commands bin the selection.
    m_frame->SendCommand(ID_OBJECT_DELETE);
    Document().SetSelected(&top);
    m_frame->SendCommand(ID_EDIT_DELETE);
    EXPECT_TRUE(Document().Objects().empty());
    EXPECT_EQ(Document().DeleteBin().size(), 2u);
    EXPECT_EQ(Document().GetSelected(), nullptr);

    // The canvas toggles recompose and show their check marks.
    CvxCanvas& canvas = Document().Canvas();
    canvas.m_bCheckered = true;
    canvas.m_bRulers = false;
    m_frame->SendCommand(ID_VIEW_CHECKERED);
    EXPECT_FALSE(Checked(ID_VIEW_CHECKERED));
    const std::string plain = testsupport::PixelHash(canvas.CanvasImage());
    m_frame->SendCommand(ID_VIEW_CHECKERED);
    EXPECT_TRUE(Checked(ID_VIEW_CHECKERED));
    EXPECT_NE(testsupport::PixelHash(canvas.CanvasImage()), plain) << "the squares show on the empty canvas";
    m_frame->SendCommand(ID_VIEW_RULERS);
    EXPECT_TRUE(canvas.m_bRulers);
    EXPECT_TRUE(Checked(ID_VIEW_RULERS));
}

// --- Emptying histories ------------------------------------------------------------------

TEST_F(EditCommandsTest, EmptyingCommandsFollowTheirStateAndAskFirst) {
    Document().SetSelected(&Photo());
    EXPECT_FALSE(Enabled(ID_EDIT_EMPTY_OBJECT_HISTORY)) << "no history yet";
    EXPECT_FALSE(Enabled(ID_EDIT_EMPTY_DELETE_BIN));
    EXPECT_FALSE(Enabled(ID_EDIT_EMPTY_ALL_HISTORIES));

    // An edit gives the photograph a history; a deleted object fills the bin.
    CvxSprite* edited = CvxSprite::CommitOver(Photo().Snapshot(true), &Photo());
    ASSERT_NE(edited, nullptr);
    Document().SetSelected(edited);
    CvxSprite& spare = AddObject(MakeImage(4, 4, kRed), 900, 900);
    Document().MoveToDeleteBin(&spare);
    EXPECT_TRUE(Enabled(ID_EDIT_EMPTY_OBJECT_HISTORY));
    EXPECT_TRUE(Enabled(ID_EDIT_EMPTY_DELETE_BIN));
    EXPECT_TRUE(Enabled(ID_EDIT_EMPTY_ALL_HISTORIES));

    // Cancel leaves everything as it was.
    for (const int id : {ID_EDIT_EMPTY_OBJECT_HISTORY, ID_EDIT_EMPTY_DELETE_BIN, ID_EDIT_EMPTY_ALL_HISTORIES}) {
        m_platform.QueueAnswer(platform::IDCANCEL);
        m_frame->SendCommand(id);
    }
    EXPECT_TRUE(edited->HasHistory());
    EXPECT_EQ(Document().DeleteBin().size(), 1u);
    ASSERT_EQ(m_platform.Messages().size(), 3u);
    EXPECT_EQ(m_platform.Messages()[0].text,
              "The undo history of the selected object will be permanently removed from the system.\nAre you sure?");
    EXPECT_EQ(m_platform.Messages()[0].style, platform::MessageStyle::OkCancel);

    m_platform.QueueAnswer(platform::IDOK);
    m_frame->SendCommand(ID_EDIT_EMPTY_OBJECT_HISTORY);
    EXPECT_FALSE(edited->HasHistory());
    EXPECT_EQ(Document().DeleteBin().size(), 1u);
    m_platform.QueueAnswer(platform::IDOK);
    m_frame->SendCommand(ID_EDIT_EMPTY_DELETE_BIN);
    EXPECT_TRUE(Document().DeleteBin().empty());
    EXPECT_FALSE(Enabled(ID_EDIT_EMPTY_ALL_HISTORIES));
}

// --- Save Selection ----------------------------------------------------------------------

TEST_F(EditCommandsTest, SaveSelectionOffersJpegOnlyForOpaqueObjectsAndWritesWhatWasChosen) {
    Document().SetSelected(&Photo());
    m_frame->SendCommand(ID_FILE_SAVE_SELECTION);  // cancelled
    ASSERT_EQ(m_platform.FileDialogRequests().size(), 1u);
    const platform::FileDialogRequest& opaque = m_platform.FileDialogRequests()[0];
    EXPECT_EQ(opaque.filter, CvxOpenDlg::FilterText(CvxOpenDlg::kImageFilter));
    EXPECT_FALSE(opaque.forOpening);
    EXPECT_EQ(opaque.defaultExtension, "tif");

    CvxSprite& shape = AddObject(HalfTransparentImage(), 500, 500);
    Document().SetSelected(&shape);
    m_platform.QueueFileDialogAnswer(m_dir.File("shape.TIF"));
    m_frame->SendCommand(ID_FILE_SAVE_SELECTION);
    const platform::FileDialogRequest& transparent = m_platform.FileDialogRequests()[1];
    EXPECT_EQ(transparent.filter, CvxOpenDlg::FilterText(CvxOpenDlg::kTransparentImageFilter));
    EXPECT_EQ(transparent.filter.find("jpg"), std::string::npos);

    // The written file keeps the transparent half.
    CvxDIB written;
    ASSERT_TRUE(written.LoadFromFile(m_dir.File("shape.TIF")));
    ASSERT_EQ(written.BitCount(), 32);
    EXPECT_EQ(GetPixel(written, 2, 2), kRed);
    EXPECT_EQ(GetPixel(written, 15, 2).a, 0);

    // As a GIF the photograph is written as a paletted picture.
    Document().SetSelected(&Photo());
    m_platform.QueueFileDialogAnswer(m_dir.File("photo.Gif"));
    m_frame->SendCommand(ID_FILE_SAVE_SELECTION);
    ImageKind kind = ImageKind::None;
    ASSERT_TRUE(written.LoadFromFile(m_dir.File("photo.Gif"), nullptr, &kind));
    EXPECT_EQ(kind, ImageKind::Gif);
    EXPECT_EQ(written.Width(), 300);
    EXPECT_EQ(written.Height(), 200);
    ASSERT_NE(Photo().ReducedCopy(), nullptr) << "the object keeps the copy it wrote";
    // Same colours pixel for pixel, however the reader orders the palette.
    const auto shown = written.ConvertTo32(false);
    const auto kept = Photo().ReducedCopy()->ConvertTo32(false);
    ASSERT_TRUE(shown && kept);
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 300; x += 11) {
            const Rgba a = GetPixel(*shown, x, y), b = GetPixel(*kept, x, y);
            ASSERT_EQ((Rgba{a.r, a.g, a.b}), (Rgba{b.r, b.g, b.b})) << x << "," << y;
        }
}

// --- The current tool ---------------------------------------------------------------------

namespace {

// A tool that answers undo and redo itself and can pose as a transform tool.
class RecordingTool : public CvxToolBase {
public:
    explicit RecordingTool(int id) : m_id(id) {}
    int GetToolId() const override { return m_id; }
    void OnUndo(CvxView&) override { ++undos; }
    void OnUpdateUndo(CvxView&, CommandUpdate& update) override { update.Enable(true); }
    void OnUpdateRedo(CvxView&, CommandUpdate& update) override { update.Enable(false); }
    int undos = 0;

private:
    int m_id;
};

}  // namespace

TEST_F(EditCommandsTest, UndoAndRedoBelongToTheCurrentToolAndTransformToolsLockTheStack) {
    Document().Canvas().SetBackground(&AddObject(MakeImage(4, 4, kRed), 1000, 1000));
    CvxSprite& top = AddObject(MakeImage(10, 10, kRed), Photo().m_x + 5, Photo().m_y + 5);
    Document().SetSelected(&top);
    ASSERT_TRUE(Enabled(ID_EDIT_RELEASE_BACKGROUND));
    for (const int id : {4, 5, 6, 7}) {
        RecordingTool tool(id);
        m_frame->SetCurrentTool(&tool);
        EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
        EXPECT_FALSE(Enabled(ID_EDIT_REDO));
        m_frame->SendCommand(ID_EDIT_UNDO);
        EXPECT_EQ(tool.undos, 1);
        const bool transform = id != 7;
        EXPECT_EQ(Enabled(ID_EDIT_DELETE), !transform) << id;
        EXPECT_EQ(Enabled(ID_OBJECT_DELETE), !transform) << id;
        EXPECT_EQ(Enabled(ID_EDIT_MOVE_BELOW), !transform) << id;
        EXPECT_FALSE(Enabled(ID_EDIT_RELEASE_BACKGROUND)) << "only under the move tool";
        m_frame->SetCurrentTool(m_frame->MoveTool());
    }
}
