#pragma once
// The commands around the text, grid and specialty crop tools that do more than make a tool
// current: the text font and colour, Clear Grid, the Specialty Crop drop-down and the auto
// import toggle, and the enabling of the crop presets.

#include "view/CommandTarget.h"

class CMainFrame;

class TextGridCropCommands : public CommandTarget {
public:
    explicit TextGridCropCommands(CMainFrame& frame) : m_frame(frame) {}

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

private:
    void ChooseTextColour();
    void ChooseTextFont();
    void ClearGrid();
    void ToggleAutoImport();
    void ShowCropMenu();
    // Ends the crop or grid tool when it is current.
    void EndToolIfCurrent(int toolId);

    CMainFrame& m_frame;
};
