#pragma once
// The editor's main window built as the application builds it, for tests that drive it with
// real Qt events.

#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QTest>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "support/TestSupport.h"
#include "view/CvxEditCommands.h"
#include "view/CvxView.h"

// Same size, same alpha everywhere and same colour wherever something shows: the colour of
// a fully clear pixel carries nothing and conversions may change it.
inline void ExpectSameVisiblePixels(const CvxDIB& actual, const CvxDIB& expected) {
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    int differing = 0;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            const testsupport::Rgba a = testsupport::GetPixel(actual, x, y);
            const testsupport::Rgba e = testsupport::GetPixel(expected, x, y);
            const bool same = e.a == 0 ? a.a == 0 : a == e;
            if (!same && differing++ < 3) ADD_FAILURE() << "at " << x << "," << y << ": " << a << " instead of " << e;
        }
    EXPECT_EQ(differing, 0);
}

// A main window with one document window (a new document unless a test opens its own), its
// commands in the command chain, and a scripted platform for dialogs and the clipboard.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { OpenWindow(nullptr); }
    void TearDown() override {
        m_frame->MdiArea()->closeAllSubWindows();
        m_frame.reset();
    }

    void OpenWindow(std::unique_ptr<CvxDoc> document) {
        if (!document) {
            document = std::make_unique<CvxDoc>();
            ASSERT_TRUE(document->OnNewDocument());
        }
        m_frame = std::make_unique<CMainFrame>();
        m_frame->resize(1000, 800);
        m_frame->show();
        m_child = CChildFrame::Open(*m_frame, std::move(document));
        m_frame->SetCommandChain([this] { return m_active ? m_active->CommandChain() : m_child->CommandChain(); },
                                 nullptr);
        QApplication::processEvents();
    }

    CvxView& View() { return m_child->View(); }
    CvxDoc& Document() { return m_child->Document(); }
    static QPoint Device(CvxView& view, CPoint canvas) {
        const CPoint device = view.CanvasToDevice(canvas);
        return {device.x, device.y};
    }
    QPoint Device(CPoint canvas) { return Device(View(), canvas); }

    // The pointer and keys as a person uses them, at canvas points of the view.
    void Press(CPoint at) { QTest::mousePress(View().viewport(), Qt::LeftButton, {}, Device(at)); }
    void Release(CPoint at) { QTest::mouseRelease(View().viewport(), Qt::LeftButton, {}, Device(at)); }
    void Click(CPoint at, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(View().viewport(), Qt::LeftButton, modifiers, Device(at));
    }
    void DoubleClick(CPoint at) { QTest::mouseDClick(View().viewport(), Qt::LeftButton, {}, Device(at)); }
    // A move with whatever buttons are held, as the window system reports it.
    void MoveTo(CPoint at) {
        QMouseEvent move(QEvent::MouseMove, Device(at), View().viewport()->mapToGlobal(Device(at)), Qt::NoButton,
                         QApplication::mouseButtons(), {});
        QApplication::sendEvent(View().viewport(), &move);
    }
    // Press, a move half-way, a move to the end, release.
    void Drag(CPoint from, CPoint to) {
        Press(from);
        MoveTo({(from.x + to.x) / 2, (from.y + to.y) / 2});
        MoveTo(to);
        Release(to);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&View(), key, modifiers); }

    void Repaint() {
        View().InvalidateCanvas();
        View().viewport()->repaint();
    }

    // A listed object on top of the others, made from the image at a canvas position.
    static CvxSprite& AddObject(CvxDoc& document, std::unique_ptr<CvxDIB> image, int x, int y) {
        auto object = std::make_unique<CvxSprite>(&document);
        object->Attach(std::move(image), nullptr, nullptr, true);
        object->m_x = x;
        object->m_y = y;
        return *document.AddObjectAtHead(std::move(object));
    }
    CvxSprite& AddObject(std::unique_ptr<CvxDIB> image, int x, int y) { return AddObject(Document(), std::move(image), x, y); }

    bool Enabled(int id) {
        m_frame->UpdateCommandStates();
        return m_frame->Action(id)->isEnabled();
    }
    bool Checked(int id) {
        m_frame->UpdateCommandStates();
        return m_frame->Action(id)->isChecked();
    }

    platform::ScriptedPlatform m_platform;
    testsupport::TempDir m_dir;
    std::unique_ptr<CMainFrame> m_frame;
    CChildFrame* m_child = nullptr;
    CChildFrame* m_active = nullptr;  // the window whose commands the frame routes, when not the first
};

// The editor on a 300 x 200 photograph opened from a file.
class EditCommandsTest : public EditorTest {
protected:
    void SetUp() override {
        CvxDIB picture;
        ASSERT_TRUE(picture.Create(300, 200, 24));
        testsupport::FillPixels(picture, [](int x, int y, std::uint8_t* p) {
            p[0] = static_cast<std::uint8_t>(x), p[1] = static_cast<std::uint8_t>(y), p[2] = 90;
        });
        ASSERT_TRUE(picture.SaveToFile(m_dir.File("photo.bmp")));
        auto document = std::make_unique<CvxDoc>();
        ASSERT_TRUE(document->OnOpenDocument(m_dir.File("photo.bmp")));
        OpenWindow(std::move(document));
        ASSERT_EQ(Document().Objects().size(), 1u);
    }

    CvxSprite& Photo() { return *Document().Objects().back(); }

    // The photograph's pixel at a canvas point, as the file holds it.
    testsupport::Rgba PhotoPixelAt(int canvasX, int canvasY) {
        const int x = canvasX - Photo().m_x, y = canvasY - Photo().m_y;
        return {90, y, x, 255};
    }
};
