#pragma once
// A main window with one document window holding a 300 x 200 photograph, its view and edit
// commands in the command chain, and a scripted platform for dialogs and the clipboard.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"
#include "support/PixelImages.h"
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

class EditCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        CvxDIB picture;
        ASSERT_TRUE(picture.Create(300, 200, 24));
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x) {
                std::uint8_t* p = picture.PixelAt(x, y);
                p[0] = static_cast<std::uint8_t>(x), p[1] = static_cast<std::uint8_t>(y), p[2] = 90;
            }
        ASSERT_TRUE(picture.SaveToFile(m_dir.File("photo.bmp")));

        m_frame = std::make_unique<CMainFrame>();
        m_frame->resize(1000, 800);
        m_frame->show();
        auto document = std::make_unique<CvxDoc>();
        ASSERT_TRUE(document->OnOpenDocument(m_dir.File("photo.bmp")));
        m_child = CChildFrame::Open(*m_frame, std::move(document));
        m_frame->SetCommandChain([this] { return m_child->CommandChain(); }, nullptr);
        QApplication::processEvents();
        ASSERT_EQ(Document().Objects().size(), 1u);
    }

    void TearDown() override {
        m_frame->MdiArea()->closeAllSubWindows();
        m_frame.reset();
    }

    CvxView& View() { return m_child->View(); }
    CvxDoc& Document() { return m_child->Document(); }
    CvxSprite& Photo() { return *Document().Objects().back(); }

    // A listed object on top of the others, made from the image at a canvas position.
    CvxSprite& AddObject(std::unique_ptr<CvxDIB> image, int x, int y) {
        auto object = std::make_unique<CvxSprite>(&Document());
        object->Attach(std::move(image), nullptr, nullptr, true);
        object->m_x = x;
        object->m_y = y;
        return *Document().AddObjectAtHead(std::move(object));
    }

    bool Enabled(int id) {
        m_frame->UpdateCommandStates();
        return m_frame->Action(id)->isEnabled();
    }

    bool Checked(int id) {
        m_frame->UpdateCommandStates();
        return m_frame->Action(id)->isChecked();
    }

    // The photograph's pixel at a canvas point, as the file holds it.
    testsupport::Rgba PhotoPixelAt(int canvasX, int canvasY) {
        const int x = canvasX - Photo().m_x, y = canvasY - Photo().m_y;
        return {90, y, x, 255};
    }

    platform::ScriptedPlatform m_platform;
    testsupport::TempDir m_dir;
    std::unique_ptr<CMainFrame> m_frame;
    CChildFrame* m_child = nullptr;
};
