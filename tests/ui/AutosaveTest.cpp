
#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "app/AutosaveController.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CvxApp.h"
#include "document/CvxDoc.h"
#include "support/TestSupport.h"
#include "view/CvxView.h"

namespace {

namespace fs = std::filesystem;

struct Placed {
    int x, y;
    std::string pixels;
    bool operator==(const Placed&) const = default;
};

std::vector<Placed> Objects(const CvxDoc& document) {
    std::vector<Placed> objects;
    for (const auto& object : document.Objects())
        objects.push_back({object->m_x, object->m_y, testsupport::PixelHash(*object->Image())});
    return objects;
}

// A drag of the object by the move tool, as a person makes it.
void Drag(CvxView& view, const CvxSprite& object, QPoint by) {
    const CPoint inside = view.CanvasToDevice(CPoint(object.m_x + 5, object.m_y + 5));
    const QPoint from(inside.x, inside.y), to = from + by;
    view.setFocus();  // a press that brings the focus from elsewhere is only a focus click
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, view.viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &move);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
}

class AutosaveUi : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        CvxDIB picture;
        ASSERT_TRUE(picture.Create(40, 30, 32));
        testsupport::FillPixels(picture, [](int x, int y, std::uint8_t* p) {
            p[0] = static_cast<std::uint8_t>(x * 5), p[1] = static_cast<std::uint8_t>(y * 7), p[2] = 90, p[3] = 255;
        });
        ASSERT_TRUE(picture.SaveToFile(Picture()));
    }
    std::string Picture() const { return m_dir.File("photo.bmp"); }
    std::string Root() const { return m_dir.File("state") + "/marrowfin/autosave"; }
    std::size_t SessionFolders() const {
        std::size_t count = 0;
        std::error_code error;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Root(), error)) ++count;
        return count;
    }
    // What an editor that died after autosaving leaves behind: its session folder, unlocked.
    void LeaveAbandonedAutosave(CvxDoc& document) {
        const pid_t pid = fork();
        if (pid == 0) {
            CvxAutosave session(Root());
            const bool started = session.Begin(1, document, "photo.bmp", Picture());
            while (session.Poll()) usleep(2000);
            _exit(started && session.HasAutosave(1) ? 0 : 1);
        }
        int status = 1;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // Services for the document work outside the editor; each editor installs its own.
    platform::ScriptedPlatform m_platform;
    testsupport::TempDir m_dir;
    testsupport::ScopedEnv m_state{"XDG_STATE_HOME", m_dir.File("state")};
    testsupport::ScopedEnv m_interval{"MARROWFIN_AUTOSAVE_SECONDS", "1"};
};

TEST_F(AutosaveUi, AChangeIsAutosavedWithinTheIntervalAndSavingOrACleanExitRemovesIt) {
    {
        CvxApp app;
        platform::ScriptedPlatform scripted;
        ASSERT_TRUE(app.InitInstance({QString::fromStdString(Picture())}, false));
        auto* child = app.ActiveChild();
        ASSERT_NE(child, nullptr);
        CvxView& view = child->View();
        app.MainFrame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app.MainFrame()));
        Drag(view, *child->Document().Objects().front(), {30, 20});
        ASSERT_TRUE(child->Document().IsModified());
        const CvxSprite& object = *child->Document().Objects().front();
        const std::string moved = "object 1: object x=" + std::to_string(object.m_x) + " y=" + std::to_string(object.m_y);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app.Autosave()->AutosavePathOf(child).isEmpty(); }, 5000));
        const std::string autosave = app.Autosave()->AutosavePathOf(child).toStdString();
        EXPECT_NE(autosave.rfind(Root(), 0), std::string::npos) << "never beside the user's own files";
        const auto info = testsupport::RunCommand(testsupport::CliPath() + " info '" + autosave + "'");
        EXPECT_NE(info.output.find("kind: project\nobjects: 1\n" + moved + " width=40 height=30"), std::string::npos)
            << info.output;

        app.MainFrame().SendCommand(ID_FILE_SAVE);
        EXPECT_FALSE(child->Document().IsModified());
        EXPECT_FALSE(fs::exists(autosave)) << "a saved document keeps no autosave";
        Drag(view, *child->Document().Objects().front(), {-10, 0});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app.Autosave()->AutosavePathOf(child).isEmpty(); }, 5000));
        EXPECT_TRUE(scripted.Messages().empty());
    }
    EXPECT_EQ(SessionFolders(), 0u) << "a clean exit leaves no autosave";
}

TEST_F(AutosaveUi, TheNextStartOffersWhatWasLeftDeclinedItIsDeletedAcceptedItOpensAsUnsavedWork) {
    CvxDoc document;
    ASSERT_TRUE(document.OnOpenDocument(Picture()));
    document.PlacePendingImage(nullptr);
    document.Objects().front()->m_x = 321;
    document.SetModifiedFlag();

    LeaveAbandonedAutosave(document);
    {
        CvxApp app;
        platform::ScriptedPlatform scripted;
        scripted.QueueAnswer(platform::IDNO);
        ASSERT_TRUE(app.InitInstance({}, false));
        ASSERT_EQ(scripted.Messages().size(), 1u);
        EXPECT_NE(scripted.Messages()[0].text.find("photo.bmp"), std::string::npos);
        EXPECT_EQ(app.MainFrame().MdiArea()->subWindowList().size(), 1);
        EXPECT_EQ(SessionFolders(), 1u) << "declined autosaves are deleted";
    }

    LeaveAbandonedAutosave(document);
    CvxApp app;
    platform::ScriptedPlatform scripted;
    scripted.QueueAnswer(platform::IDYES);
    ASSERT_TRUE(app.InitInstance({}, false));
    ASSERT_EQ(scripted.Messages().size(), 1u);
    CChildFrame* recovered = app.ActiveChild();
    ASSERT_NE(recovered, nullptr);
    EXPECT_EQ(recovered->Document().GetPathName(), Picture()) << "Save writes where the user expects";
    EXPECT_TRUE(recovered->Document().IsModified());
    EXPECT_EQ(Objects(recovered->Document()), Objects(document));
    EXPECT_FALSE(app.Autosave()->AutosavePathOf(recovered).isEmpty()) << "kept until the next autosave";
    // A second start while this editor runs finds nothing to offer.
    CvxAutosave other(Root());
    EXPECT_TRUE(other.ClaimAbandoned().empty());
}

}  // namespace
