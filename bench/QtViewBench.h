#pragma once
// What the benchmarks that run tools in a real canvas view share: a main window showing one
// document, and a main that starts Qt on the offscreen platform first.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMdiArea>
#include <memory>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "document/CvxDoc.h"
#include "view/CvxView.h"

// Opens the document in the frame, maximised and painted once; the frame owns the window.
inline CvxView& ShowDocument(CMainFrame& frame, std::unique_ptr<CvxDoc> document) {
    frame.resize(1400, 1000);
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

inline int RunBenchmarksWithQt(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
