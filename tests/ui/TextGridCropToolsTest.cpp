// The text, colour pick, grid and specialty crop tools driven through the canvas view as a
// person would: commands, clicks, key presses and input-method text.

#include <QInputMethodEvent>
#include <QScrollBar>

#include "EditCommandsFixture.h"
#include "platform/qt/QtPlatform.h"
#include "tools/CvxBrushTools.h"
#include "tools/CvxToolCrop.h"
#include "tools/CvxToolText.h"

namespace {

using testsupport::GetPixel;
using testsupport::Rgba;

class TextGridCropToolsTest : public EditCommandsTest {
protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        // Glyphs come from the real font engine; dialogs and messages stay scripted.
        m_fonts = std::make_unique<QtPlatform>();
        platform::InstallServices(&m_platform);
        m_platform.SetTextRenderer(m_fonts.get());
        View().setFocus();
        Repaint();
    }
    void Type(const QString& text) {
        for (const QChar c : text) {
            // What a keyboard layout reports: Latin-1 keys by their upper case, others unknown.
            const int key = c == ' ' ? Qt::Key_Space : c.unicode() < 256 ? c.toUpper().unicode() : Qt::Key_unknown;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&View(), &press);
            QApplication::sendEvent(&View(), &release);
        }
    }
    void Compose(const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(&View(), &event);
    }
    // A 2-pixel red line through the canvas point, horizontally within a pixel of it.
    bool RedNear(CPoint canvas) {
        for (int dx = -1; dx <= 1; ++dx)
            if (View().Surface().pixel(Device({canvas.x + dx, canvas.y})) == qRgb(255, 0, 0)) return true;
        return false;
    }
    int CurrentToolId() { return m_frame->CurrentTool()->GetToolId(); }
    CvxToolText& Text() { return *static_cast<CvxToolText*>(m_frame->ToolById(15)); }
    // Places a line at the point in the colour chosen through the Color command.
    void StartLine(platform::Rgb colour, CPoint at) {
        m_platform.QueueColorAnswer(colour);
        m_frame->SendCommand(ID_ATTR_TEXT_COLOR);
        m_frame->SendCommand(ID_TOOL_TEXT);
        Click(at);
    }
    CvxSprite& Head() { return *Document().Objects().front(); }

    std::unique_ptr<QtPlatform> m_fonts;
};

TEST_F(TextGridCropToolsTest, TypedLineBecomesAnObjectInItsColourOnTheDerivedBackground) {
    StartLine({0, 0, 200}, {400, 300});
    Type("Zoë ");
    Compose("Ångström");
    Type(" 1931–2026");
    EXPECT_EQ(Text().Text(), U"Zoë Ångström 1931–2026");
    Key(Qt::Key_Return);

    ASSERT_EQ(Document().Objects().size(), 2u);
    EXPECT_EQ(m_platform.DrawnTexts().back().text, "Zoë Ångström 1931–2026");
    const CvxSprite& line = Head();
    EXPECT_TRUE(std::abs(line.m_x - 400) < 4 && std::abs(line.m_y - 300) < 8 && line.Width() > 120);
    EXPECT_EQ(CurrentToolId(), 1);
    // Pure text colour in the strokes, blends towards the background (112, 112, 160) at
    // their edges, the background itself keyed out.
    int solid = 0, clear = 0, strays = 0;
    for (int y = 0; y < line.Height(); ++y)
        for (int x = 0; x < line.Width(); ++x) {
            const Rgba p = GetPixel(*line.Image(), x, y);
            const bool onBlend = std::abs(p.r - p.g) <= 1 && p.r < 112 && std::abs(p.b - (200 - p.r * 40 / 112)) <= 2;
            clear += p.a == 0;
            solid += p == Rgba{0, 0, 200, 255};
            strays += p.a != 0 && !onBlend;
        }
    EXPECT_GT(solid, 100);
    EXPECT_GT(clear, solid);
    EXPECT_EQ(strays, 0);
}

TEST_F(TextGridCropToolsTest, TextEdgeCases) {
    // Colours the keying would swallow are nudged, stored and drawn that way.
    for (const auto& [chosen, drawn] : {std::pair{platform::Rgb{255, 255, 255}, Rgba{252, 252, 252, 255}},
                                        std::pair{platform::Rgb{128, 128, 128}, Rgba{131, 131, 131, 255}}}) {
        StartLine(chosen, {500, 500});
        Type("HM");
        Key(Qt::Key_Return);
        EXPECT_EQ(Text().m_textColour[0], drawn.r);
        EXPECT_GT(std::ranges::count(testsupport::AllPixels(*Head().Image()), drawn), 0) << drawn;
    }
    m_frame->SendCommand(ID_TOOL_TEXT);
    Click({600, 600});
    Type(QString(300, 'x'));
    EXPECT_EQ(Text().Text().size(), 255u) << "keys past 255 characters are ignored";
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text().Text().size(), 254u);
    const std::size_t objects = Document().Objects().size();
    Click({900, 900});
    EXPECT_EQ(Document().Objects().size(), objects + 1) << "a click commits the line";
}

TEST_F(TextGridCropToolsTest, ColourPickGoesBackToThePreviousTool) {
    auto& brush = *static_cast<CvxToolSBrush*>(m_frame->ToolById(11));
    m_frame->SendCommand(ID_TOOL_SOLID_BRUSH);
    m_frame->SendCommand(ID_TOOL_COLOR_PICK);
    EXPECT_EQ(CurrentToolId(), 14);
    const CPoint spot{Photo().m_x + 50, Photo().m_y + 40};
    Click(spot);
    const Rgba expected = PhotoPixelAt(spot.x, spot.y);
    EXPECT_EQ(CurrentToolId(), 11);
    EXPECT_EQ(brush.m_colour, std::uint32_t(expected.r | expected.g << 8 | expected.b << 16));

    StartLine({9, 8, 7}, {600, 600});
    m_frame->SendCommand(ID_TOOL_COLOR_PICK);
    Click(spot);
    EXPECT_EQ(CurrentToolId(), 15);
    EXPECT_EQ(Text().m_textColour, (RgbTriple{9, 8, 7}));
}

TEST_F(TextGridCropToolsTest, GridPointsLimitsBorderDoubleClickAndClear) {
    CvxDoc& document = Document();
    m_frame->SendCommand(ID_TOOL_GRID);
    MoveTo({300, 250});
    EXPECT_TRUE(RedNear({300, 20})) << "guide line under the pointer";
    View().horizontalScrollBar()->setValue(0), View().verticalScrollBar()->setValue(0);
    Click({0, 50}), Click({50, 0});
    EXPECT_EQ(document.m_nGridPoints, 0) << "points on the border are ignored";
    document.m_nGridPoints = 498;
    for (int i = 0; i < 3; ++i) Click({100 + i, 100});
    EXPECT_EQ(document.m_nGridPoints, 500) << "the 501st point is ignored";
    QTest::mouseDClick(View().viewport(), Qt::LeftButton, {}, Device({300, 300}));
    EXPECT_EQ(document.m_nGridPoints, 500) << "a double click takes back only a point it added";
    EXPECT_EQ(CurrentToolId(), 1);

    document.m_nGridPoints = 3;
    m_frame->SendCommand(ID_TOOL_GRID);
    QTest::mouseDClick(View().viewport(), Qt::LeftButton, {}, Device({300, 300}));
    EXPECT_EQ(document.m_nGridPoints, 3);
    EXPECT_EQ(CurrentToolId(), 1);
    m_frame->SendCommand(ID_TOOL_GRID);
    m_frame->SendCommand(ID_TOOL_GRID);
    EXPECT_EQ(CurrentToolId(), 1) << "choosing Grid Lines again ends the tool";
    m_frame->SendCommand(ID_GRID_CLEAR);
    EXPECT_EQ(document.m_nGridPoints, 0);
}

TEST_F(TextGridCropToolsTest, PrayerCardCropCutsTheCanvasUnderTheOutline) {
    auto photo = std::make_unique<CvxDIB>();
    ASSERT_TRUE(photo->Create(700, 900, 32));
    testsupport::FillPixels(*photo, [](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = std::uint8_t(90 + y / 256 * 40), p[3] = 255;
    });
    AddObject(std::move(photo), 100, 100);
    Repaint();
    m_frame->SendCommand(ID_CROP_PRAYER_CARD_4UP);
    EXPECT_EQ(CurrentToolId(), 19);
    MoveTo({450, 500});
    EXPECT_TRUE(RedNear({450 - 259, 500})) << "outline follows the pointer";
    Click({450, 500});

    CvxSprite& card = Head();
    ASSERT_EQ(card.Width(), 518);
    ASSERT_EQ(card.Height(), 758);
    EXPECT_EQ(card.m_x, 450 - 259);
    EXPECT_EQ(card.m_y, 500 - 379);
    EXPECT_EQ(Document().GetSelected(), &card);
    EXPECT_EQ(CurrentToolId(), 1);
    int differing = 0;
    for (int y = 0; y < card.Height(); ++y)
        for (int x = 0; x < card.Width(); ++x) {
            const int px = card.m_x + x - 100, py = card.m_y + y - 100;
            differing += GetPixel(*card.Image(), x, y) != Rgba{90 + py / 256 * 40, py % 256, px % 256, 255};
        }
    EXPECT_EQ(differing, 0);
}

TEST_F(TextGridCropToolsTest, EveryPresetCutsTwiceItsHalfSizesAndDiscsKeepOnlyTheRing) {
    for (const CropPreset& preset : CvxToolCrop::Presets()) {
        m_frame->SendCommand(preset.command);
        const bool disc = preset.halfHeight == 50;
        Click({500, 400});
        const CvxSprite& cut = Head();
        EXPECT_EQ(cut.Width(), 2 * preset.halfWidth) << preset.command;
        EXPECT_EQ(cut.Height(), 2 * (disc ? preset.halfWidth : preset.halfHeight)) << preset.command;
        if (!disc) continue;
        const int r = preset.halfWidth;
        EXPECT_EQ(GetPixel(*cut.Image(), r, r).a, 0) << "hole";
        EXPECT_EQ(GetPixel(*cut.Image(), 2, 2).a, 0) << "outside the disc";
        EXPECT_EQ(GetPixel(*cut.Image(), r, r / 2).a, 255) << "ring";
    }
    EXPECT_TRUE(Checked(ID_CROP_AUTO_IMPORT));
    m_frame->SendCommand(ID_CROP_BOOKMARK_2UP);
    m_frame->SendCommand(ID_CROP_AUTO_IMPORT);
    EXPECT_FALSE(Checked(ID_CROP_AUTO_IMPORT));
    EXPECT_EQ(CurrentToolId(), 1) << "the toggle ends the crop";
}

}  // namespace
