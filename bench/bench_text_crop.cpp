// The text tool committing a line and the specialty crop outline following the pointer, in a
// real canvas view on the offscreen platform. References in the same run: the font engine
// drawing the same line into an image of the same size on its own, and a memory copy of the
// pixels one crop outline step presents again.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMdiArea>
#include <QPainter>

#include "MemcpyReference.h"
#include "QtViewBench.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"
#include "platform/qt/QtPlatform.h"
#include "tools/CvxToolCrop.h"
#include "tools/CvxToolText.h"
#include "view/CvxView.h"

namespace {

const QString kLine = QString::fromUtf8("Zoë Ångström 1931–2026");
constexpr int kCardWidth = 518, kCardHeight = 758;

// A main window with one document holding a 1200 x 1200 picture, its view at 100 %.
struct Editor {
    // Glyphs from the font engine; message boxes scripted so that nothing waits for a user.
    QtPlatform fonts;
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    CChildFrame* child = nullptr;

    Editor() {
        platform.SetTextRenderer(&fonts);
        frame.resize(1400, 1000);
        auto document = std::make_unique<CvxDoc>();
        document->OnNewDocument();
        auto image = std::make_unique<CvxDIB>();
        image->Create(1200, 1200, 32);
        for (int y = 0; y < 1200; ++y) {
            std::uint8_t* p = image->RowAt(y);
            for (int x = 0; x < 1200; ++x, p += 4) p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = 90, p[3] = 255;
        }
        auto object = std::make_unique<CvxSprite>(document.get());
        object->Attach(std::move(image), nullptr, nullptr, true);
        document->AddObjectAtHead(std::move(object));
        child = new CChildFrame(std::move(document), frame);
        frame.MdiArea()->addSubWindow(child);
        frame.show();
        child->showMaximized();
        View().OnInitialUpdate();
        QApplication::processEvents();
        View().viewport()->repaint();
    }
    ~Editor() { frame.MdiArea()->closeAllSubWindows(); }
    CvxView& View() { return child->View(); }
};

void BM_TextLineCommit(benchmark::State& state) {
    Editor editor;
    CvxView& view = editor.View();
    CvxDoc& document = *view.GetDocument();
    auto& text = *static_cast<CvxToolText*>(editor.frame.ToolById(15));
    for (auto _ : state) {
        editor.frame.SetCurrentTool(&text);
        text.Activate(&view);
        text.OnLButtonDown(view, {300, 300});
        text.OnChar(view, kLine);
        text.OnKeyDown(view, VK_RETURN);
        state.PauseTiming();
        document.RemoveObject(document.Objects().front().get());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TextLineCommit)->Unit(benchmark::kMillisecond);

void BM_TextLineFontEngineOnly(benchmark::State& state) {
    QtPlatform platform;
    const QFont font = FontFor({"Arial", 16, false, false});
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(kLine), metrics.height(), QImage::Format_ARGB32);
    for (auto _ : state) {
        image.fill(QColor(112, 112, 160));
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 200));
        painter.drawText(QPoint(0, metrics.ascent()), kLine);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_TextLineFontEngineOnly)->Unit(benchmark::kMillisecond);

void BM_CropOutlineMove(benchmark::State& state) {
    Editor editor;
    CvxView& view = editor.View();
    editor.frame.SendCommand(ID_CROP_PRAYER_CARD_4UP);
    CvxToolBase& crop = *editor.frame.CurrentTool();
    CPoint point{500, 500};
    int step = 1;
    for (auto _ : state) {
        if (point.x > 700 || point.x < 400) step = -step;
        point.x += step;
        point.y += step;
        crop.OnMouseMove(view, point);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kCardWidth * kCardHeight * 4);
}
BENCHMARK(BM_CropOutlineMove)->Unit(benchmark::kMillisecond);

void BM_CropOutlineMoveMemcpy(benchmark::State& state) {
    RunMemcpyReference(state, std::size_t(kCardWidth) * kCardHeight * 4);
}
BENCHMARK(BM_CropOutlineMoveMemcpy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithQt(argc, argv); }
