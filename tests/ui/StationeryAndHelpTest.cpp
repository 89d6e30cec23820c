// Help pages and F1, the stationery templates and their documents, web links, and the frames
// and clipart folders.

#include <QCursor>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "EditCommandsFixture.h"
#include "app/CommandTable.h"
#include "app/MenuLayout.h"
#include "codecs/CvxOpenDlg.h"
#include "codecs/StationeryDocument.h"
#include "platform/DataFolders.h"
#include "tools/CvxToolBase.h"
#include "tools/CvxToolCrop.h"
#include "tools/ToolSet.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What a written document holds, read back with an independent XML reader.
struct PictureFrame {
    double x, y, width, height;  // inches
    QImage picture;
};
struct DocumentFacts {
    bool wellFormed = false;
    double pageWidth = 0, pageHeight = 0;
    std::vector<PictureFrame> frames;
};

double Inches(QStringView text) {
    EXPECT_TRUE(text.endsWith(u"in")) << text.toString().toStdString();
    return text.chopped(2).toDouble();
}

DocumentFacts ReadDocument(const std::string& path) {
    QFile file(QString::fromStdString(path));
    DocumentFacts facts;
    if (!file.open(QIODevice::ReadOnly)) return facts;
    QXmlStreamReader xml(file.readAll());
    PictureFrame* frame = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attributes = xml.attributes();
        if (xml.qualifiedName() == u"style:page-layout-properties") {
            facts.pageWidth = Inches(attributes.value("fo:page-width"));
            facts.pageHeight = Inches(attributes.value("fo:page-height"));
        } else if (xml.qualifiedName() == u"draw:frame") {
            frame = nullptr;
            if (!attributes.value("draw:name").startsWith(u"Picture")) continue;
            facts.frames.push_back({Inches(attributes.value("svg:x")), Inches(attributes.value("svg:y")),
                                    Inches(attributes.value("svg:width")), Inches(attributes.value("svg:height")), {}});
            frame = &facts.frames.back();
        } else if (xml.qualifiedName() == u"office:binary-data" && frame) {
            frame->picture = QImage::fromData(QByteArray::fromBase64(xml.readElementText().toLatin1()), "PNG");
        }
    }
    facts.wellFormed = !xml.hasError();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    return facts;
}

// A picture of one colour with a different border, so that a stretched or cropped copy shows.
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
    void SetUp() override {
        EditCommandsTest::SetUp();
        // New documents go to this test's own documents folder.
        m_home = std::make_unique<testsupport::ScopedEnv>("HOME", m_dir.File("home"));
        m_xdg = std::make_unique<testsupport::ScopedEnv>("XDG_CONFIG_HOME", m_dir.File("home/.config"));
    }
    void TearDown() override {
        EditCommandsTest::TearDown();
        m_xdg.reset();
        m_home.reset();
    }

    // Presses F1 with the mouse at a point of a widget, as a person pointing there would.
    std::string PageForF1At(QWidget& widget, QPoint point) {
        QCursor::setPos(widget.mapToGlobal(point));
        const std::size_t before = m_platform.OpenedAddresses().size();
        QTest::keyClick(&View(), Qt::Key_F1);
        if (m_platform.OpenedAddresses().size() != before + 1) return "(none)";
        const std::string& address = m_platform.OpenedAddresses().back();
        return address.substr(address.find_last_of('/') + 1);
    }

    std::unique_ptr<testsupport::ScopedEnv> m_home, m_xdg;
};

TEST_F(StationeryTest, F1OpensThePageOfWhatIsUnderTheMouseAndHeldF1CommandsOnlyOpenTheirPage) {
    Document().SetSelected(&Photo());
    m_platform.ClearClipboard();
    m_platform.SetKeyHeld(platform::HeldKey::F1, true);
    m_frame->SendCommand(ID_EDIT_COPY);
    m_platform.SetKeyHeld(platform::HeldKey::F1, false);
    ASSERT_EQ(m_platform.OpenedAddresses().size(), 1u);
    EXPECT_TRUE(m_platform.OpenedAddresses()[0].ends_with("/Copy.htm")) << m_platform.OpenedAddresses()[0];
    EXPECT_FALSE(m_platform.HasClipboardBlock()) << "the copy did not run";

    m_frame->SendCommand(ID_TOOL_ERASER);
    m_child->showNormal();  // with its title bar
    QToolBar& main = *m_frame->Toolbar(kMainToolbarResource);
    QWidget& blend = *main.widgetForAction(m_frame->Action(ID_EFFECT_BLEND));
    QWidget& gap = *main.widgetForAction(main.actions()[1]);  // the separator after Help ToC
    const struct {
        QWidget* widget;
        QPoint point;
        const char* page;
    } cases[] = {
        {&blend, blend.rect().center(), "Blend.htm"},
        {&gap, gap.rect().center(), "Erase_Tool.htm"},
        {View().viewport(), {40, 40}, "Erase_Tool.htm"},
        {m_child, {m_child->width() / 2, 4}, "Document_Windows.htm"},  // its title bar
    };
    for (const auto& where : cases) EXPECT_EQ(PageForF1At(*where.widget, where.point), where.page) << where.page;
}

TEST_F(StationeryTest, TemplateCommandsNeedASelectionAndWriteNumberedDocumentsThatOpenInTheWordProcessor) {
    Document().SetSelected(nullptr);
    EXPECT_FALSE(Enabled(ID_TEMPLATE_PRAYER_CARD_4UP));
    Document().SetSelected(&Photo());
    EXPECT_TRUE(Enabled(ID_TEMPLATE_PRAYER_CARD_4UP));

    m_frame->SendCommand(ID_TEMPLATE_PRAYER_CARD_4UP);
    m_frame->SendCommand(ID_TEMPLATE_PRAYER_CARD_4UP);
    const fs::path documents = m_dir.File("home/Documents");
    const std::vector<std::vector<std::string>> expected = {
        {"soffice", (documents / "Prayer_Card_4-Up.fodt").string()},
        {"soffice", (documents / "Prayer_Card_4-Up (2).fodt").string()}};
    EXPECT_EQ(m_platform.StartedPrograms(), expected);
    EXPECT_TRUE(m_platform.HasClipboardBlock()) << "the selection waits on the clipboard too";
    const DocumentFacts facts = ReadDocument(expected[0][1]);
    ASSERT_EQ(facts.frames.size(), 4u);
    EXPECT_EQ(facts.frames[0].picture.size(), QSize(300, 200));

    // The command-line tool writes the very same document from the same picture.
    ASSERT_TRUE(Photo().Image()->SaveToFile(m_dir.File("photo.png")));
    const auto run = testsupport::RunCommand(testsupport::CliPath() + " template 'Prayer Card 4-Up' " + m_dir.File("photo.png") +
                                             " " + m_dir.File("cli.fodt"));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadText(m_dir.File("cli.fodt")), ReadText(expected[1][1]));
}

TEST_F(StationeryTest, EveryTemplateIsAPrintableLayoutWhoseFramesFitItsCropPreset) {
    // Paper of each layout (inches) and how many pictures it holds.
    const struct {
        int command;
        double pageWidth, pageHeight;
        std::size_t pictures;
    } layouts[] = {
        {ID_TEMPLATE_SERVICE_FOLDER_1UP, 11, 8.5, 1}, {ID_TEMPLATE_SERVICE_FOLDER_2UP, 8.5, 11, 2},
        {ID_TEMPLATE_REGISTER_COVER, 8.5, 11, 1},     {ID_TEMPLATE_REGISTER_IN_MEMORY, 8.5, 11, 1},
        {ID_TEMPLATE_REGISTER_SERVICES, 8.5, 11, 1},  {ID_TEMPLATE_REGISTER_PLACE_OF_REST, 8.5, 11, 1},
        {ID_TEMPLATE_REGISTER_CATHOLIC, 8.5, 11, 1},  {ID_TEMPLATE_BOOKMARK_2UP, 8.5, 11, 2},
        {ID_TEMPLATE_BOOKMARK_4UP, 11, 8.5, 4},       {ID_TEMPLATE_THANK_YOU_2UP, 8.5, 11, 2},
        {ID_TEMPLATE_PRAYER_CARD_4UP, 8.5, 11, 4},    {ID_TEMPLATE_PRAYER_CARD_8UP, 11, 8.5, 8},
        {ID_TEMPLATE_DVD_CD_AVERY, 8.5, 11, 2},       {ID_TEMPLATE_DVD_CD_COVER, 8.5, 11, 1},
    };
    ASSERT_EQ(std::size(layouts), StationeryTemplates().size());
    for (const auto& layout : layouts) {
        const StationeryTemplate* stationery = FindStationeryTemplate(FindCommand(layout.command)->menuText);
        ASSERT_NE(stationery, nullptr) << layout.command;
        const auto preset = std::find_if(CvxToolCrop::Presets().begin(), CvxToolCrop::Presets().end(),
                                         [&](const CropPreset& p) { return p.templateCommand == layout.command; });
        ASSERT_NE(preset, CvxToolCrop::Presets().end()) << stationery->menuText;
        // The cut the preset makes: a disc's square, or the rectangle.
        const bool disc = layout.command == ID_TEMPLATE_DVD_CD_AVERY;
        const auto cut = Card(2 * preset->halfWidth, 2 * (disc ? preset->halfWidth : preset->halfHeight));
        const std::string out = m_dir.File(std::string(stationery->documentName) + ".fodt");
        ASSERT_TRUE(WriteStationery(StationeryTemplatePath(*stationery), *cut, out)) << stationery->menuText;

        const DocumentFacts facts = ReadDocument(out);
        SCOPED_TRACE(stationery->menuText);
        EXPECT_TRUE(facts.wellFormed);
        EXPECT_EQ(facts.pageWidth, layout.pageWidth);
        EXPECT_EQ(facts.pageHeight, layout.pageHeight);
        ASSERT_EQ(facts.frames.size(), layout.pictures);
        for (const PictureFrame& frame : facts.frames) {
            EXPECT_NEAR(frame.width / frame.height, double(cut->Width()) / cut->Height(), 0.01);
            EXPECT_GE(frame.x, 0);
            EXPECT_GE(frame.y, 0);
            EXPECT_LE(frame.x + frame.width, layout.pageWidth);
            EXPECT_LE(frame.y + frame.height, layout.pageHeight);
            ASSERT_EQ(frame.picture.size(), QSize(cut->Width(), cut->Height()));
            EXPECT_EQ(frame.picture.pixel(cut->Width() / 2, cut->Height() / 2), qRgb(190, 60, 40));
        }
    }

    // A picture of another shape narrows the frame about its centre instead of being stretched.
    const StationeryTemplate& cards = *FindStationeryTemplate("Prayer Card 4-Up");
    const DocumentFacts tall = ReadDocument(m_dir.File("Prayer_Card_4-Up.fodt"));
    ASSERT_TRUE(WriteStationery(StationeryTemplatePath(cards), *Card(600, 200), m_dir.File("wide.fodt")));
    const DocumentFacts wide = ReadDocument(m_dir.File("wide.fodt"));
    ASSERT_EQ(wide.frames.size(), 4u);
    const PictureFrame &before = tall.frames[0], &after = wide.frames[0];
    EXPECT_NEAR(after.width, before.width, 1e-3);
    EXPECT_NEAR(after.height, before.width / 3, 1e-3);
    EXPECT_NEAR(after.y + after.height / 2, before.y + before.height / 2, 1e-3);
    EXPECT_FALSE(WriteStationery(m_dir.File("missing.fodt"), *Card(10, 10), m_dir.File("none.fodt")));
    EXPECT_FALSE(fs::exists(m_dir.File("none.fodt")));
}

TEST_F(StationeryTest, EveryTemplateDocumentPrintsWithThePictureInItsFrames) {
    const QString office = QStandardPaths::findExecutable("soffice");
    if (office.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed; scripts/setup.sh --writer installs it";
    REQUIRE_TOOL("pdftoppm");
    std::string documents;
    for (const StationeryTemplate& stationery : StationeryTemplates()) {
        const std::string out = m_dir.File(std::string(stationery.documentName) + ".fodt");
        ASSERT_TRUE(WriteStationery(StationeryTemplatePath(stationery), *Card(400, 600), out));
        documents += " '" + out + "'";
    }
    const auto converted = testsupport::RunCommand(
        "cd '" + m_dir.Path().string() + "' && '" + office.toStdString() + "' -env:UserInstallation=file://" +
        m_dir.File("office-profile") + " --headless --convert-to pdf" + documents);
    ASSERT_EQ(converted.status, 0) << converted.output;
    constexpr int kDpi = 20;
    for (const StationeryTemplate& stationery : StationeryTemplates()) {
        SCOPED_TRACE(stationery.menuText);
        const std::string stem = m_dir.File(stationery.documentName);
        const auto rendered =
            testsupport::RunCommand("pdftoppm -r " + std::to_string(kDpi) + " -f 1 -l 1 -png '" + stem + ".pdf' '" + stem + "'");
        ASSERT_EQ(rendered.status, 0) << rendered.output;
        QImage page(QString::fromStdString(stem + "-1.png"));
        if (page.isNull()) page.load(QString::fromStdString(stem + "-01.png"));
        ASSERT_FALSE(page.isNull());
        for (const PictureFrame& frame : ReadDocument(stem + ".fodt").frames) {
            const QColor centre = page.pixelColor(int((frame.x + frame.width / 2) * kDpi), int((frame.y + frame.height / 2) * kDpi));
            EXPECT_NEAR(centre.red(), 190, 25);
            EXPECT_NEAR(centre.blue(), 40, 25);
        }
    }
}

TEST_F(StationeryTest, EveryHelpPageTheProgramOpensIsInstalledAndContentsLinksThemAll) {
    std::set<std::string> pages = {"Contents.htm", "Delete.htm", "Standard_IO.htm", "Save_File.htm",
                                   "Document_Windows.htm"};
    for (const CommandInfo& command : AllCommands())
        if (*command.helpPage) pages.insert(command.helpPage);
    for (const auto& tool : CreateAllTools())
        if (tool) pages.insert(tool->HelpPage());
    const fs::path folder = platform::DataFolder("help");
    const std::string contents = ReadText(folder / "Contents.htm");
    std::set<std::string> installed;
    for (const auto& entry : fs::directory_iterator(folder)) installed.insert(entry.path().filename().string());
    for (const std::string& page : pages) EXPECT_TRUE(installed.count(page)) << page << " is missing";
    const QRegularExpression link(R"re(href="([^"#]+)")re");
    for (const std::string& page : installed) {
        const QString text = QString::fromStdString(ReadText(folder / page));
        EXPECT_TRUE(text.contains("<h1>")) << page;
        for (const auto& match : link.globalMatch(text))
            EXPECT_TRUE(installed.count(match.captured(1).toStdString())) << page << " links to " << match.captured(1).toStdString();
        EXPECT_TRUE(page == "Contents.htm" || contents.find("href=\"" + page + "\"") != std::string::npos) << page;
    }
}

TEST_F(StationeryTest, WebLinksNeedAConfiguredAddressAndTheLoginSavesTheSelectionFirst) {
    EXPECT_FALSE(Enabled(ID_LINK_COVERS));
    EXPECT_TRUE(m_frame->Action(ID_LINK_COVERS)->statusTip().contains("MARROWFIN_ARTWORK_SITE"));
    testsupport::ScopedEnv artwork("MARROWFIN_ARTWORK_SITE", "https://art.example/");
    testsupport::ScopedEnv service("MARROWFIN_SERVICE_SITE", "https://memorial.example");
    EXPECT_TRUE(Enabled(ID_LINK_COVERS));
    EXPECT_FALSE(m_frame->Action(ID_LINK_COVERS)->statusTip().contains("MARROWFIN"));
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
    const struct {
        int command;
        const char* folder;
        std::size_t atLeast;
    } cases[] = {{ID_EDIT_INSERT_FRAME, "frames", 8}, {ID_EDIT_INSERT_CLIPART, "clipart", 16}};
    for (const auto& insert : cases) {
        const std::string folder = platform::DataFolder(insert.folder);
        std::vector<std::string> pictures;
        for (const auto& entry : fs::directory_iterator(folder)) pictures.push_back(entry.path().string());
        EXPECT_GE(pictures.size(), insert.atLeast) << insert.folder;
        for (const std::string& path : pictures) {
            m_platform.QueueFileDialogAnswer(path);
            const std::size_t objects = Document().Objects().size();
            m_frame->SendCommand(insert.command);
            EXPECT_EQ(m_platform.FileDialogRequests().back().initialFolder, folder);
            ASSERT_EQ(Document().Objects().size(), objects + 1) << path;
            const CvxSprite* added = Document().Objects().front().get();
            EXPECT_EQ(Document().GetSelected(), added);
            const CvxDIB& image = *added->Image();
            int clear = 0;
            for (int y = 0; y < image.Height(); ++y)
                for (int x = 0; x < image.Width(); ++x) clear += image.PixelAt(x, y)[3] == 0;
            // A frame is mostly window; clipart has room around its drawing.
            EXPECT_GT(clear, image.Width() * image.Height() / 8) << path;
        }
    }
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(CvxOpenDlg::RememberedFolder(), "") << "the ordinary open dialog's folder stays";
}

}  // namespace
