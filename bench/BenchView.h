#pragma once
// The canvas-view benchmarks' window: a document shown in a maximised document window of a
// main frame on the offscreen platform, initialised and painted once.

#include <QApplication>
#include <QMdiArea>
#include <memory>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "document/CvxDoc.h"
#include "view/CvxView.h"

inline CvxView& ShowInWindow(CMainFrame& frame, std::unique_ptr<CvxDoc> document) {
    auto* child = new CChildFrame(std::move(document), frame);
    frame.MdiArea()->addSubWindow(child);
    frame.show();
    child->showMaximized();
    CvxView& view = child->View();
    view.OnInitialUpdate();
    QApplication::processEvents();
    view.viewport()->repaint();
    return view;
}
