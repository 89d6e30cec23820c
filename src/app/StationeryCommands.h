#pragma once
// The commands that hand the selection on: the word-processor templates and their drop-down,
// and the web links to the artwork partner and the memorial recording service, whose addresses
// come from the settings file or the environment.

#include <QString>

#include "view/CommandTarget.h"

class CMainFrame;

class StationeryCommands : public CommandTarget {
public:
    explicit StationeryCommands(CMainFrame& frame) : m_frame(frame) {}

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

    // The site a link command opens a page of: the environment variable when set, otherwise
    // the [Links] entry of the settings file; empty when neither names one.
    static QString SiteAddress(int linkCommand);
    // Where new stationery documents go: the user's documents folder, made when missing.
    static QString DocumentsFolder();

private:
    // Copies the selection to the clipboard, writes the template's document with it in a new
    // file and opens that in the word processor.
    void RunTemplate(int id);
    void OpenLink(int id);
    void ShowTemplateMenu();

    CMainFrame& m_frame;
};
