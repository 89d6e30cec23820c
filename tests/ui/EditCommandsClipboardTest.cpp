#include "EditCommandsFixture.h"

#include <QBuffer>
#include <QClipboard>
#include <QMimeData>

#include "platform/qt/QtPlatform.h"

using namespace testsupport;

namespace {

// 4 x 3, opaque at the border so nothing is trimmed, with a half-transparent and a clear
// pixel inside.
std::unique_ptr<CvxDIB> ImageWithTransparency() {
    auto image = MakeImage(4, 3, {30, 60, 90, 255});
    SetPixel(*image, 1, 1, {200, 100, 50, 128});
    SetPixel(*image, 2, 1, {0, 0, 0, 0});
    return image;
}

QByteArray Png(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// The editor's own clipboard services for one test; the scripted ones return afterwards.
class WithQtClipboard {
public:
    explicit WithQtClipboard(platform::ScriptedPlatform& scripted) : m_scripted(scripted) {}
    ~WithQtClipboard() {
        m_qt.reset();
        platform::InstallServices(&m_scripted);
    }
    WithQtClipboard(const WithQtClipboard&) = delete;
    WithQtClipboard& operator=(const WithQtClipboard&) = delete;

private:
    platform::ScriptedPlatform& m_scripted;
    std::unique_ptr<QtPlatform> m_qt = std::make_unique<QtPlatform>();
};

}  // namespace

TEST_F(EditCommandsTest, CopiedObjectsReachOtherProgramsAsPngAndTheirPicturesPasteBackWithTheirTransparency) {
    WithQtClipboard clipboard(m_platform);
    CvxSprite& object = AddObject(ImageWithTransparency(), 600, 600);
    Document().SetSelected(&object);
    m_frame->SendCommand(ID_EDIT_COPY);

    const QMimeData* shared = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(shared, nullptr);
    ASSERT_TRUE(shared->hasFormat("image/png"));
    const QImage copied = QImage::fromData(shared->data("image/png"), "PNG").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(copied.size(), QSize(4, 3));
    EXPECT_EQ(copied.pixel(0, 0), qRgba(30, 60, 90, 255));
    EXPECT_EQ(copied.pixel(1, 1), qRgba(200, 100, 50, 128));
    EXPECT_EQ(qAlpha(copied.pixel(2, 1)), 0);
    const QImage image = qvariant_cast<QImage>(shared->imageData());  // for programs that take no PNG
    ASSERT_EQ(image.size(), QSize(4, 3));
    EXPECT_EQ(image.pixel(0, 0), qRgba(30, 60, 90, 255));
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 128);

    ASSERT_TRUE(Enabled(ID_EDIT_PASTE));
    m_frame->SendCommand(ID_EDIT_PASTE);

    ASSERT_EQ(Document().Objects().size(), 3u);
    const CvxSprite& pastedBack = *Document().Objects().front();
    ASSERT_NE(&pastedBack, &object);
    ExpectSameVisiblePixels(*pastedBack.Image(), *object.Image());

    // A picture copied in another program pastes as an object with its transparency.
    QImage picture(5, 4, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 140, 220, 255));
    picture.setPixel(2, 2, qRgba(250, 20, 20, 64));
    auto foreign = std::make_unique<QMimeData>();
    foreign->setData("image/png", Png(picture));  // all another program may offer
    QGuiApplication::clipboard()->setMimeData(foreign.release());

    ASSERT_TRUE(Enabled(ID_EDIT_PASTE));
    View().m_lastPressPoint = {400, 300};
    m_frame->SendCommand(ID_EDIT_PASTE);
    ASSERT_EQ(Document().Objects().size(), 4u);
    const CvxSprite& pasted = *Document().Objects().front();
    EXPECT_EQ(pasted.m_x, 400);
    EXPECT_EQ(pasted.m_y, 300);
    ASSERT_EQ(pasted.Width(), 5);
    ASSERT_EQ(pasted.Height(), 4);
    EXPECT_EQ(GetPixel(*pasted.Image(), 0, 0), (Rgba{10, 140, 220, 255}));
    EXPECT_EQ(GetPixel(*pasted.Image(), 2, 2), (Rgba{250, 20, 20, 64}));

    // A program that offers only image data, without PNG.
    QGuiApplication::clipboard()->setImage(picture);
    m_frame->SendCommand(ID_EDIT_PASTE);
    ASSERT_EQ(Document().Objects().size(), 5u);
    EXPECT_EQ(GetPixel(*Document().Objects().front()->Image(), 2, 2), (Rgba{250, 20, 20, 64}));

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
}
