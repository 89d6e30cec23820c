#include "app/StationeryCommands.h"

#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/MenuLayout.h"
#include "codecs/StationeryDocument.h"
#include "document/CvxDoc.h"
#include "platform/PlatformServices.h"
#include "view/CvxView.h"

namespace {

// The fixed place of the template drop-down, from the main window's corner.
constexpr QPoint kTemplateMenuOffset{66, 75};
// The word processor; the desktop's opener takes over when it is not installed.
constexpr const char* kWordProcessor = "soffice";

struct LinkTarget {
    int command;
    const char* settingsKey;  // under [Links] in the settings file
    const char* environment;
    const char* page;
};

constexpr LinkTarget kLinks[] = {
    {ID_LINK_COVERS, "ArtworkSite", "MARROWFIN_ARTWORK_SITE", "/cover_redirect.php"},
    {ID_LINK_INTERIORS, "ArtworkSite", "MARROWFIN_ARTWORK_SITE", "/interiors_redirect.php"},
    {ID_LINK_SENTIMENTS, "ArtworkSite", "MARROWFIN_ARTWORK_SITE", "/sentiments_redirect.php"},
    {ID_LINK_STENCILS, "ArtworkSite", "MARROWFIN_ARTWORK_SITE", "/stencils_redirect.php"},
    {ID_LINK_VIDEO_TUTORIALS, "ArtworkSite", "MARROWFIN_ARTWORK_SITE", "/video_redirect.php"},
    {ID_LINK_SERVICE_LOGIN, "ServiceSite", "MARROWFIN_SERVICE_SITE", "/login/login.html"},
};

const LinkTarget* FindLink(int command) {
    for (const LinkTarget& link : kLinks)
        if (link.command == command) return &link;
    return nullptr;
}

// The template a template command writes; null for any other command.
const StationeryTemplate* TemplateFor(int command) {
    if (command == ID_TEMPLATE_MENU) return nullptr;
    const CommandInfo* info = FindCommand(command);
    return info ? FindStationeryTemplate(info->menuText) : nullptr;
}

}  // namespace

QString StationeryCommands::SiteAddress(int linkCommand) {
    const LinkTarget* link = FindLink(linkCommand);
    if (!link) return {};
    QString site = qEnvironmentVariable(link->environment);
    if (site.isEmpty()) site = QSettings().value(QString("Links/%1").arg(link->settingsKey)).toString();
    while (site.endsWith('/')) site.chop(1);
    return site;
}

QString StationeryCommands::DocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    QDir().mkpath(folder);
    return folder;
}

bool StationeryCommands::OnCommand(int id) {
    if (id == ID_TEMPLATE_MENU) {
        ShowTemplateMenu();
        return true;
    }
    if (TemplateFor(id)) {
        RunTemplate(id);
        return true;
    }
    if (FindLink(id)) {
        OpenLink(id);
        return true;
    }
    return false;
}

bool StationeryCommands::OnUpdateCommand(int id, CommandUpdate& update) {
    if (id == ID_TEMPLATE_MENU) {
        update.Enable();
        return true;
    }
    if (TemplateFor(id)) {
        CvxView* view = m_frame.ActiveView();
        update.Enable(view && view->GetDocument()->GetSelected() != nullptr);
        return true;
    }
    const LinkTarget* link = FindLink(id);
    if (!link) return false;
    const bool configured = !SiteAddress(id).isEmpty();
    update.Enable(configured);
    update.statusTip = configured ? QString::fromStdString(StatusText(*FindCommand(id)))
                                  : QString("No address is set for this link: set %1, or %2 under [Links] in %3")
                                        .arg(link->environment, link->settingsKey, QSettings().fileName());
    return true;
}

void StationeryCommands::RunTemplate(int id) {
    CvxView* view = m_frame.ActiveView();
    const CvxSprite* selected = view ? view->GetDocument()->GetSelected() : nullptr;
    const StationeryTemplate* found = TemplateFor(id);
    if (!selected || !selected->Image() || !found) return;
    const StationeryTemplate& stationery = *found;
    // The selection waits on the clipboard as well, for pasting it anywhere else.
    m_frame.RouteCommand(ID_EDIT_COPY);
    const std::string path = UnusedDocumentPath(DocumentsFolder().toStdString(), stationery.documentName);
    {
        platform::BusyCursor busy;
        if (!WriteStationery(StationeryTemplatePath(stationery), *selected->Image(), path)) {
            platform::ShowMessage("Could not write the document " + path + " from the template " +
                                      StationeryTemplatePath(stationery) + ".",
                                  platform::MessageStyle::Exclamation);
            return;
        }
    }
    if (!platform::Services().StartProgram(kWordProcessor, {path}))
        platform::Services().OpenAddress(QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString());
}

void StationeryCommands::OpenLink(int id) {
    const LinkTarget* link = FindLink(id);
    const QString site = SiteAddress(id);
    if (!link || site.isEmpty()) return;
    if (id == ID_LINK_SERVICE_LOGIN) m_frame.RouteCommand(ID_FILE_SAVE_SELECTION);
    platform::Services().OpenAddress((site + link->page).toStdString());
}

void StationeryCommands::ShowTemplateMenu() {
    QMenu menu(&m_frame);
    m_frame.FillContextMenu(menu, kPopupTemplateOptions);
    m_frame.UpdateCommandStates();
    menu.exec(m_frame.MainWindowOrigin() + kTemplateMenuOffset);
}
