#pragma once
// The tool attribute commands (colour, size, domain, flood mode, topology, viscosity,
// pressure, the attribute menu) and their update handlers. They act on the main frame's
// current tool; each clears the view's ignore-next-pointer flag and puts the saved prompt back.

#include <QPoint>

#include "view/CommandTarget.h"

class CMainFrame;
class CvxToolBase;
class CvxView;

class ToolAttributeCommands : public CommandTarget {
public:
    explicit ToolAttributeCommands(CMainFrame& frame) : m_frame(frame) {}

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

    // The tool's attribute menu at a screen position (the edge clip tool's response dialog
    // instead); nothing for a tool without attributes or without a view.
    void OpenAttributes(CvxToolBase& tool, QPoint screenPosition);

private:
    CvxToolBase* Current() const;
    int CurrentId() const;
    void ChooseColour();
    void ChooseSize();
    void ChooseFeatherWidth();
    void ChooseViscosity();
    void ChoosePressure();
    void ChooseClipResponse();
    void ReactivateCurrent();
    void RefreshSwatch();

    CMainFrame& m_frame;
};
