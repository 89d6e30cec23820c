// Help pages and F1, the stationery templates and their documents, web links, and the frames
// and clipart folders.

#include <QCursor>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QXmlStreamReader>
#include <filesystem>
#include <set>

#include "EditCommandsFixture.h"
#include "app/CommandTable.h"
#include "app/MenuLayout.h"
#include "codecs/CvxOpenDlg.h"
#include "codecs/StationeryDocument.h"
#include "platform/DataFolders.h"
#include "tools/CvxToolCrop.h"
#include "tools/ToolSet.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    const auto bytes = testsupport::ReadFileBytes(path.string());
    return {bytes.begin(), bytes.end()};
}

// A picture frame of a written document (inches) with the picture it embeds, read back with an
// independent XML reader; the page size goes first as a frame without picture.
struct Box {
    double x = 0, y = 0, width = 0, height = 0;
    QImage picture;
};

std::vector<Box> ReadDocument(const std::string& path) {
    QXmlStreamReader xml(QByteArray::fromStdString(ReadText(path)));
    std::vector<Box> boxes(1);
    const auto inches = [&](const char* name) { return xml.attributes().value(name).chopped(2).toDouble(); };
    bool inPicture = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.qualifiedName() == u"style:page-layout-properties") {
            boxes[0].width = inches("fo:page-width"), boxes[0].height = inches("fo:page-height");
        } else if (xml.qualifiedName() == u"draw:frame") {
            inPicture = xml.attributes().value("draw:name").startsWith(u"Picture");
            if (inPicture) boxes.push_back({inches("svg:x"), inches("svg:y"), inches("svg:width"), inches("svg:height"), {}});
        } else if (xml.qualifiedName() == u"office:binary-data" && inPicture) {
            boxes.back().picture = QImage::fromData(QByteArray::fromBase64(xml.readElementText().toLatin1()), "PNG");
        }
    }
    EXPECT_FALSE(xml.hasError()) << path << ": " << xml.errorString().toStdString();
    return boxes;
}

// A picture of one colour inside a border of another, so that a stretched or cropped copy shows.
std::unique_ptr<CvxDIB> Card(int width, int height) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(width, height, 32);
    testsupport::FillPixels(*image, [&](int x, int y, std::uint8_t* p) {
        const bool border = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
        p[0] = border ? 200 : 40, p[1] = 60, p[2] = border ? 40 : 190, p[3] = 255;
    });
    return image;
}

class StationeryTest : public EditCommandsTest {
protected:
    // New documents go to this test's own documents folder.
    testsupport::ScopedEnv m_home{"HOME", m_dir.File("home")};
    testsupport::ScopedEnv m_xdg{"XDG_CONFIG_HOME", m_dir.File("home/.config")};

    // The page F1 opens with the mouse at a point of a widget, as a person pointing there would.
    std::string PageForF1At(QWidget& widget, QPoint point) {
        QCursor::setPos(widget.mapToGlobal(point));
        const std::size_t before = m_platform.OpenedAddresses().size();
        QTest::keyClick(&View(), Qt::Key_F1);
        if (m_platform.OpenedAddresses().size() != before + 1) return "(none)";
        return fs::path(m_platform.OpenedAddresses().back()).filename().string();
    }
};

TEST_F(StationeryTest, F1OpensThePageOfWhatIsUnderTheMouseAndHeldF1CommandsOnlyOpenTheirPage) {
    Document().SetSelected(&Photo());
    m_platform.ClearClipboard();
    m_platform.SetKeyHeld(platform::HeldKey::F1, true);
    m_frame->SendCommand(ID_EDIT_COPY);
    m_platform.SetKeyHeld(platform::HeldKey::F1, false);
    EXPECT_EQ(m_platform.OpenedAddresses(), std::vector<std::string>{CMainFrame::HelpBaseAddress().toStdString() + "Copy.htm"});
    EXPECT_FALSE(m_platform.HasClipboardBlock()) << "the copy did not run";

    m_frame->SendCommand(ID_TOOL_ERASER);
    m_child->showNormal();  // with its title bar
    // Windows and menus of earlier tests in this process must not lie over this one.
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    m_frame->raise();
    m_frame->activateWindow();
    View().setFocus();
    QApplication::processEvents();
    QToolBar& main = *m_frame->Toolbar(kMainToolbarResource);
    QWidget& blend = *main.widgetForAction(m_frame->Action(ID_EFFECT_BLEND));
    QWidget& gap = *main.widgetForAction(main.actions()[1]);  // the separator after Help ToC
    const struct { QWidget* widget; QPoint point; const char* page; } cases[] = {
        {&blend, blend.rect().center(), "Blend.htm"}, {&gap, gap.rect().center(), "Erase_Tool.htm"},
        {View().viewport(), {40, 40}, "Erase_Tool.htm"},
        {m_child, {m_child->width() / 2, 4}, "Document_Windows.htm"},  // its title bar
        {m_frame->statusBar(), {4, 4}, "(none)"}};
    for (const auto& where : cases) EXPECT_EQ(PageForF1At(*where.widget, where.point), where.page) << where.page;
    m_frame->SendCommand(ID_TOOL_MOVE);
    EXPECT_EQ(PageForF1At(*View().viewport(), {40, 40}), "Move_Tool.htm");
}

TEST_F(StationeryTest, TemplateCommandsNeedASelectionAndWriteNumberedDocumentsAsTheCommandLineDoes) {
    Document().SetSelected(nullptr);
    EXPECT_FALSE(Enabled(ID_TEMPLATE_PRAYER_CARD_4UP));
    Document().SetSelected(&Photo());
    EXPECT_TRUE(Enabled(ID_TEMPLATE_PRAYER_CARD_4UP));
    for (int twice = 0; twice < 2; ++twice) m_frame->SendCommand(ID_TEMPLATE_PRAYER_CARD_4UP);
    const fs::path documents = m_dir.File("home/Documents");
    const std::vector<std::vector<std::string>> expected = {
        {"soffice", (documents / "Prayer_Card_4-Up.fodt").string()},
        {"soffice", (documents / "Prayer_Card_4-Up (2).fodt").string()}};
    EXPECT_EQ(m_platform.StartedPrograms(), expected);
    EXPECT_TRUE(m_platform.HasClipboardBlock()) << "the selection waits on the clipboard too";

    ASSERT_TRUE(Photo().Image()->SaveToFile(m_dir.File("photo.png")));
    const auto run = testsupport::RunCommand(testsupport::CliPath() + " template 'Prayer Card 4-Up' " +
                                             m_dir.File("photo.png") + " " + m_dir.File("cli.fodt"));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadText(m_dir.File("cli.fodt")), ReadText(expected[1][1]));
}

TEST_F(StationeryTest, EveryTemplateIsAPrintableLayoutThatPrintsItsCropPresetsPictureInItsFrames) {
    // Paper of each layout in inches (Letter upright or across) and how many pictures it holds.
    const std::map<int, std::tuple<double, double, std::size_t>> layouts = {
        {ID_TEMPLATE_SERVICE_FOLDER_1UP, {11, 8.5, 1}}, {ID_TEMPLATE_SERVICE_FOLDER_2UP, {8.5, 11, 2}},
        {ID_TEMPLATE_REGISTER_COVER, {8.5, 11, 1}},     {ID_TEMPLATE_REGISTER_IN_MEMORY, {8.5, 11, 1}},
        {ID_TEMPLATE_REGISTER_SERVICES, {8.5, 11, 1}},  {ID_TEMPLATE_REGISTER_PLACE_OF_REST, {8.5, 11, 1}},
        {ID_TEMPLATE_REGISTER_CATHOLIC, {8.5, 11, 1}},  {ID_TEMPLATE_BOOKMARK_2UP, {8.5, 11, 2}},
        {ID_TEMPLATE_BOOKMARK_4UP, {11, 8.5, 4}},       {ID_TEMPLATE_THANK_YOU_2UP, {8.5, 11, 2}},
        {ID_TEMPLATE_PRAYER_CARD_4UP, {8.5, 11, 4}},    {ID_TEMPLATE_PRAYER_CARD_8UP, {11, 8.5, 8}},
        {ID_TEMPLATE_DVD_CD_AVERY, {8.5, 11, 2}},       {ID_TEMPLATE_DVD_CD_COVER, {8.5, 11, 1}}};
    ASSERT_EQ(layouts.size(), StationeryTemplates().size());
    std::map<std::string, std::vector<Box>> written;  // document stem: its page and frames
    for (const CropPreset& preset : CvxToolCrop::Presets()) {
        const StationeryTemplate* stationery = FindStationeryTemplate(FindCommand(preset.templateCommand)->menuText);
        ASSERT_NE(stationery, nullptr) << preset.templateCommand;
        SCOPED_TRACE(stationery->menuText);
        const auto [pageWidth, pageHeight, pictures] = layouts.at(preset.templateCommand);
        // The cut the preset makes: a disc's square, or the rectangle.
        const int halfHeight = preset.templateCommand == ID_TEMPLATE_DVD_CD_AVERY ? preset.halfWidth : preset.halfHeight;
        const auto cut = Card(2 * preset.halfWidth, 2 * halfHeight);
        const std::string stem = m_dir.File(stationery->documentName);
        ASSERT_TRUE(WriteStationery(StationeryTemplatePath(*stationery), *cut, stem + ".fodt"));
        const std::vector<Box>& boxes = written[stem] = ReadDocument(stem + ".fodt");
        EXPECT_TRUE(boxes[0].width == pageWidth && boxes[0].height == pageHeight);
        ASSERT_EQ(boxes.size(), pictures + 1);
        for (auto frame = boxes.begin() + 1; frame != boxes.end(); ++frame) {
            EXPECT_NEAR(frame->width / frame->height, double(preset.halfWidth) / halfHeight, 0.01);
            EXPECT_TRUE(frame->x >= 0 && frame->y >= 0 && frame->x + frame->width <= pageWidth &&
                        frame->y + frame->height <= pageHeight);
            ASSERT_EQ(frame->picture.size(), QSize(cut->Width(), cut->Height()));
            EXPECT_EQ(frame->picture.pixel(cut->Width() / 2, cut->Height() / 2), qRgb(190, 60, 40));
        }
    }
    // A picture of another shape narrows the frame about its centre instead of being stretched.
    const std::string cards = StationeryTemplatePath(*FindStationeryTemplate("Prayer Card 4-Up"));
    ASSERT_TRUE(WriteStationery(cards, *Card(600, 200), m_dir.File("wide.fodt")));
    const Box before = ReadDocument(m_dir.File("Prayer_Card_4-Up.fodt"))[1], after = ReadDocument(m_dir.File("wide.fodt"))[1];
    EXPECT_TRUE(std::abs(after.width - before.width) < 1e-3 && std::abs(after.height - before.width / 3) < 1e-3 &&
                std::abs(after.y + after.height / 2 - before.y - before.height / 2) < 1e-3);

    // LibreOffice opens every document and prints the picture where its frames are.
    const QString office = QStandardPaths::findExecutable("soffice");
    if (office.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed: scripts/setup.sh --writer installs it";
    REQUIRE_TOOL("pdftoppm");
    std::string command = "cd '" + m_dir.Path().string() + "' && '" + office.toStdString() +
                          "' -env:UserInstallation=file://" + m_dir.File("profile") + " --headless --convert-to pdf";
    for (const auto& [stem, boxes] : written) command += " '" + stem + ".fodt'";
    const auto converted = testsupport::RunCommand(command);
    ASSERT_EQ(converted.status, 0) << converted.output;
    for (const auto& [stem, boxes] : written) {
        ASSERT_EQ(testsupport::RunCommand("pdftoppm -r 20 -singlefile -png '" + stem + ".pdf' '" + stem + "'").status, 0);
        const QImage page(QString::fromStdString(stem + ".png"));
        for (auto frame = boxes.begin() + 1; frame != boxes.end(); ++frame) {
            const QColor centre = page.pixelColor(int((frame->x + frame->width / 2) * 20), int((frame->y + frame->height / 2) * 20));
            EXPECT_TRUE(std::abs(centre.red() - 190) < 25 && std::abs(centre.blue() - 40) < 25) << stem << " " << centre.name().toStdString();
        }
    }
}

TEST_F(StationeryTest, EveryHelpPageTheProgramOpensIsInstalledAndContentsLinksThemAll) {
    std::set<std::string> pages = {"Contents.htm", "Delete.htm", "Standard_IO.htm", "Save_File.htm", "Document_Windows.htm"};
    for (const CommandInfo& command : AllCommands())
        if (*command.helpPage) pages.insert(command.helpPage);
    for (const auto& tool : CreateAllTools())
        if (tool) pages.insert(tool->HelpPage());
    const fs::path folder = platform::DataFolder("help");
    std::set<std::string> installed;
    for (const auto& entry : fs::directory_iterator(folder)) installed.insert(entry.path().filename().string());
    for (const std::string& page : pages) EXPECT_TRUE(installed.count(page)) << page << " is missing";
    const std::string contents = ReadText(folder / "Contents.htm");
    const QRegularExpression link(R"re(href="([^"#]+)")re");
    for (const std::string& page : installed) {
        const QString text = QString::fromStdString(ReadText(folder / page));
        EXPECT_TRUE(text.contains("<h1>") && (page == "Contents.htm" || contents.find('"' + page + '"') != std::string::npos)) << page;
        for (const auto& match : link.globalMatch(text)) EXPECT_TRUE(installed.count(match.captured(1).toStdString())) << page;
    }
}

TEST_F(StationeryTest, WebLinksNeedAConfiguredAddressAndTheLoginSavesTheSelectionFirst) {
    EXPECT_FALSE(Enabled(ID_LINK_COVERS));
    EXPECT_TRUE(m_frame->Action(ID_LINK_COVERS)->statusTip().contains("MARROWFIN_ARTWORK_SITE"));
    testsupport::ScopedEnv artwork("MARROWFIN_ARTWORK_SITE", "https://art.example/");
    testsupport::ScopedEnv service("MARROWFIN_SERVICE_SITE", "https://memorial.example");
    EXPECT_TRUE(Enabled(ID_LINK_COVERS));
    Document().SetSelected(&Photo());
    m_frame->SendCommand(ID_LINK_STENCILS);
    m_frame->SendCommand(ID_LINK_SERVICE_LOGIN);
    EXPECT_EQ(m_platform.OpenedAddresses(), (std::vector<std::string>{"https://art.example/stencils_redirect.php",
                                                                      "https://memorial.example/login/login.html"}));
    ASSERT_EQ(m_platform.FileDialogRequests().size(), 1u);
    EXPECT_FALSE(m_platform.FileDialogRequests()[0].forOpening) << "Save Selection came first";
}

TEST_F(StationeryTest, InsertFrameAndClipartOpenTheirOwnFoldersOfTransparentPictures) {
    CvxOpenDlg::ForgetRememberedFolder();
    for (const auto& [command, name, atLeast] : {std::tuple{ID_EDIT_INSERT_FRAME, "frames", 8},
                                                 std::tuple{ID_EDIT_INSERT_CLIPART, "clipart", 16}}) {
        const std::string folder = platform::DataFolder(name);
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            ++count;
            m_platform.QueueFileDialogAnswer(entry.path().string());
            m_frame->SendCommand(command);
            EXPECT_EQ(m_platform.FileDialogRequests().back().initialFolder, folder);
            const CvxSprite* added = Document().Objects().front().get();
            ASSERT_EQ(Document().GetSelected(), added) << entry.path();
            EXPECT_FALSE(added->Image()->IsFullyOpaque()) << entry.path() << " has no transparent window or margin";
        }
        EXPECT_GE(count, atLeast) << name;
    }
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(CvxOpenDlg::RememberedFolder(), "") << "the ordinary open dialog's folder stays";
}

}  // namespace
