
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CvxApp.h"
#include "document/CvxDoc.h"
#include "support/TestSupport.h"

namespace {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        for (const char* name : {"a.bmp", "b.bmp"}) {
            CvxDIB picture;
            ASSERT_TRUE(picture.Create(40, 30, 24));
            ASSERT_TRUE(picture.SaveToFile(m_dir.File(name)));
        }
    }
    testsupport::TempDir m_dir;
};

TEST_F(AppTest, CommandLineFilesOpenAsDocuments) {
    CvxApp app;
    ASSERT_TRUE(app.InitInstance({QString::fromStdString(m_dir.File("a.bmp")), QString::fromStdString(m_dir.File("b.bmp"))},
                                 false));
    const auto windows = app.MainFrame().MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    auto* first = qobject_cast<CChildFrame*>(windows.front());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Document().GetPathName(), m_dir.File("a.bmp"));
    EXPECT_EQ(first->Document().Objects().size(), 1u);
    EXPECT_EQ(app.RecentFiles().front(), QString::fromStdString(m_dir.File("b.bmp")));
}

TEST_F(AppTest, WithoutFilesANewDocumentOpensAndRecentFilesKeepFourNewestFirstInTheMenu) {
    CvxApp app;
    ASSERT_TRUE(app.InitInstance({}, false));
    const auto windows = app.MainFrame().MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(qobject_cast<CChildFrame*>(windows.front())->Document().Objects().empty());
    EXPECT_LE(app.MainFrame().geometry().size().width(), 973);
    for (const char* name : {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp", "3.bmp"}) app.AddToRecentFiles(QString("/p/") + name);
    EXPECT_EQ(app.RecentFiles(), (QStringList{"/p/3.bmp", "/p/5.bmp", "/p/4.bmp", "/p/2.bmp"}));
    app.MainFrame().UpdateCommandStates();
    EXPECT_EQ(app.MainFrame().Action(ID_FILE_MRU_FILE1)->text(), "&1 3.bmp");
    EXPECT_TRUE(app.MainFrame().Action(ID_FILE_MRU_FILE4)->isVisible());
}

}  // namespace
