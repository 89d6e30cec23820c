
#include "support/TestSupport.h"

namespace {

using platform::MessageStyle;

TEST(ScriptedPlatform, AnswersFromQueueThenFirstButton) {
    platform::ScriptedPlatform scripted;
    scripted.QueueAnswer(platform::IDNO);
    EXPECT_EQ(platform::ShowMessage("Save changes?", MessageStyle::YesNoCancel), platform::IDNO);
    EXPECT_EQ(platform::ShowMessage("Again?", MessageStyle::YesNo), platform::IDYES);
    EXPECT_EQ(platform::ShowMessage("Sure?", MessageStyle::OkCancel), platform::IDOK);
    EXPECT_EQ(scripted.MessageTexts(), (std::vector<std::string>{"Save changes?", "Again?", "Sure?"}));
}

TEST(MemAvailable, ReadsKibibytesFromMeminfo) {
    testsupport::TempDir dir;
    const auto path = dir.File("meminfo");
    testsupport::WriteFileBytes(path, {});
    EXPECT_EQ(platform::ReadMemAvailable(path), 0u);
    const std::string text = "MemTotal:       24000000 kB\nMemFree:  100 kB\nMemAvailable:    5000 kB\n";
    testsupport::WriteFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(platform::ReadMemAvailable(path), 5000u * 1024u);
    EXPECT_EQ(platform::ReadMemAvailable(dir.File("missing")), 0u);
    EXPECT_GT(platform::ReadMemAvailable(), 0u) << "this machine's /proc/meminfo";
}

}  // namespace
