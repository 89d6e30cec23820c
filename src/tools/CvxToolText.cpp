#include "tools/CvxToolText.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>

#include "colour/TextLineImage.h"
#include "document/CvxDoc.h"
#include "platform/qt/QtPlatform.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

constexpr int kCaretMargin = 3;

QString ToQString(const std::u32string& text) { return QString::fromUcs4(text.data(), qsizetype(text.size())); }

}  // namespace

void CvxToolText::Activate(CvxView* view) {
    ActivateEngaged(view);
    m_bPlaced = 0;
    m_bTyping = 0;
    m_anchor = {20, 20};
    // A line not committed before the tool was left is abandoned.
    m_text.clear();
    m_drawnRect = {};
}

void CvxToolText::OnLButtonDown(CvxView& view, CPoint point) {
    if (!m_text.empty()) {
        Commit(view);
        return;
    }
    if (m_bPlaced) view.InvalidateCanvas();
    Activate(&view);
    m_bPlaced = 1;
    m_bTyping = 1;
    m_anchor = point;
    // The input method serves the view while a line is typed.
    QGuiApplication::inputMethod()->update(Qt::ImEnabled);
    DrawLine(view);
}

void CvxToolText::OnKeyDown(CvxView& view, int key) {
    CvxToolBase::OnKeyDown(view, key);
    if (!m_bTyping) return;
    if (key == VK_BACK && !m_text.empty()) {
        m_text.pop_back();
        DrawLine(view);
    } else if (key == VK_RETURN) {
        Commit(view);
    }
}

void CvxToolText::OnChar(CvxView& view, const QString& text) {
    if (!m_bTyping) return;
    for (const char32_t c : text.toUcs4())
        if (m_text.size() < std::size_t(kMaxLength)) m_text.push_back(c);
    DrawLine(view);
}

void CvxToolText::OnMouseMove(CvxView& view, CPoint) {
    ShowCursor(view);
    if (m_bPlaced) DrawLine(view);
}

void CvxToolText::OnViewPainted(CvxView& view) {
    CvxToolBase::OnViewPainted(view);
    // A repaint wiped the line from the view, or part of it; it shows again.
    if (&view == m_pView && m_bPlaced) DrawLine(view);
}

void CvxToolText::DrawLine(CvxView& view) {
    if (m_drawnRect.Width() > 0) view.PresentRect(m_drawnRect);
    const QFont font = FontFor(m_font);
    const QFontMetrics metrics(font);
    const QString line = ToQString(m_text);
    const int width = metrics.horizontalAdvance(line);
    const QRect box(m_anchor.x - kCaretMargin, m_anchor.y - kCaretMargin, width + 2 * kCaretMargin + 2,
                    metrics.height() + 2 * kCaretMargin);
    CvxZoomDC dc(view);
    QPainter& painter = dc.Painter();
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(m_textColour[0], m_textColour[1], m_textColour[2]));
    painter.drawText(QPoint(m_anchor.x, m_anchor.y + metrics.ascent()), line);
    // The caret after the last character, inside a box around the line; black dots on white
    // show on any picture.
    const QLine caret(m_anchor.x + width + 1, m_anchor.y, m_anchor.x + width + 1, m_anchor.y + metrics.height() - 1);
    painter.setBrush(Qt::NoBrush);
    for (const Qt::PenStyle style : {Qt::SolidLine, Qt::DotLine}) {
        QPen pen(style == Qt::SolidLine ? Qt::white : Qt::black, 0, style);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawRect(box);
        painter.drawLine(caret);
    }
    painter.restore();
    m_drawnRect = {box.left() - 1, box.top() - 1, box.right() + 3, box.bottom() + 3};
}

void CvxToolText::Commit(CvxView& view) {
    m_textColour = AdjustedTextColour(m_textColour);
    const std::string utf8 = ToQString(m_text).toStdString();
    m_text.clear();
    m_bTyping = 0;
    m_bPlaced = 0;
    std::unique_ptr<CvxDIB> line = RenderTextLine(utf8, m_font, m_textColour);
    CvxDoc& document = *view.GetDocument();
    if (line) {
        CvxSprite drawn(&document);
        drawn.Attach(std::move(line), &view, nullptr, false);
        drawn.m_x = m_anchor.x;
        drawn.m_y = m_anchor.y;
        // The snapshot keeps only the line's inked pixels.
        if (std::unique_ptr<CvxSprite> object = drawn.Snapshot(true)) {
            document.AddObjectAtHead(std::move(object));
            document.SetModifiedFlag();
        }
    }
    view.ResetToMoveTool();
    view.InvalidateCanvas();
}
