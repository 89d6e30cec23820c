// Autosave: a killed editor's work waits for the next start, slots come and go with their
// writers, and the folder follows the state home.

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "document/CvxAutosave.h"
#include "document/DocumentFixtures.h"

namespace {

using namespace doctest;
namespace fs = std::filesystem;

// A document of three objects with distinct pixels and places.
void Compose(CvxDoc& document) {
    AddSolid(document, 10, 20, 30, 40, {1, 2, 3, 255});
    AddSolid(document, 500, 700, 64, 8, {200, 100, 50, 255});
    CvxSprite* top = AddSolid(document, 1990, 5, 25, 25, {9, 9, 9, 255});
    top->Image()->PixelAt(3, 4)[1] = 77;
    document.SetModifiedFlag();
}

// An editor in a child process: it autosaves `document` as slot 1, tells the parent through
// the pipe, then waits to be killed.
pid_t StartEditorThatAutosaves(const std::string& root, CvxDoc& document) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        CvxAutosave session(root);
        const bool started = session.Begin(1, document, "Grandma.jpg", "/home/ann/Grandma.jpg");
        while (session.Poll()) usleep(2000);
        const char result = started && session.HasAutosave(1) ? 'y' : 'n';
        (void)!write(ready[1], &result, 1);
        for (;;) pause();
    }
    close(ready[1]);
    char result = 'n';
    (void)!read(ready[0], &result, 1);
    close(ready[0]);
    if (result != 'y') {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

TEST(Autosave, AKilledEditorLeavesItsWorkForTheNextStartButNeverToAnotherRunningOne) {
    testsupport::TempDir dir;
    const std::string root = dir.File("autosave");
    CvxDoc document;
    Compose(document);
    const pid_t editor = StartEditorThatAutosaves(root, document);
    ASSERT_GT(editor, 0);

    {
        CvxAutosave other(root);
        EXPECT_TRUE(other.ClaimAbandoned().empty()) << "a running editor's autosave was taken";
    }
    kill(editor, SIGKILL);
    waitpid(editor, nullptr, 0);

    CvxAutosave next(root);
    const std::vector<CvxAutosaveEntry> entries = next.ClaimAbandoned();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].title, "Grandma.jpg");
    EXPECT_EQ(entries[0].originalPath, "/home/ann/Grandma.jpg");
    EXPECT_LE(std::abs(entries[0].savedAt - static_cast<std::int64_t>(std::time(nullptr))), 60);

    CvxDoc recovered;
    ASSERT_TRUE(recovered.OnOpenDocument(entries[0].projectPath));
    ASSERT_EQ(recovered.Objects().size(), document.Objects().size());
    for (auto a = recovered.Objects().begin(); const auto& e : document.Objects()) {
        EXPECT_EQ(Placement(**a), Placement(*e));
        EXPECT_EQ(testsupport::PixelHash(*(*a++)->Image()), testsupport::PixelHash(*e->Image()));
    }

    ASSERT_TRUE(next.Adopt(entries[0], 7));
    EXPECT_TRUE(fs::exists(next.ProjectPath(7)));
    next.ReleaseClaimed();
    std::size_t folders = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root)) ++folders;
    EXPECT_EQ(folders, 1u) << "the abandoned session folder is gone, ours stays";
}

TEST(Autosave, SlotsAreRemovedAtOnceOrWhenTheirWriterEndsAndACleanExitLeavesNothing) {
    testsupport::TempDir dir;
    const std::string root = dir.File("autosave");
    CvxDoc document;
    Compose(document);
    {
        CvxAutosave session(root);
        ASSERT_TRUE(session.IsOpen());
        ASSERT_TRUE(session.Begin(1, document, "a", ""));
        EXPECT_FALSE(session.Begin(1, document, "a", "")) << "one writer a slot at a time";
        ASSERT_TRUE(session.Begin(2, document, "b", ""));
        session.Remove(2);  // saved by the user while its autosave was being written
        while (session.Poll()) usleep(2000);
        EXPECT_TRUE(session.HasAutosave(1));
        EXPECT_TRUE(fs::exists(session.ProjectPath(1)));
        EXPECT_FALSE(session.HasAutosave(2));
        EXPECT_FALSE(fs::exists(session.ProjectPath(2)));
        EXPECT_FALSE(fs::exists(session.InfoPath(2)));
        session.Remove(1);
        EXPECT_FALSE(fs::exists(session.ProjectPath(1)));
        ASSERT_TRUE(session.Begin(1, document, "a", ""));
    }
    EXPECT_TRUE(fs::is_empty(root));
}

TEST(Autosave, TheFolderFollowsTheStateHome) {
    const testsupport::ScopedEnv state("XDG_STATE_HOME", "/var/state");
    EXPECT_EQ(CvxAutosave::DefaultRoot(), "/var/state/marrowfin/autosave");
    const testsupport::ScopedEnv relative("XDG_STATE_HOME", "relative");  // not absolute: ignored
    const testsupport::ScopedEnv home("HOME", "/home/ann");
    EXPECT_EQ(CvxAutosave::DefaultRoot(), "/home/ann/.local/state/marrowfin/autosave");
}

}  // namespace
