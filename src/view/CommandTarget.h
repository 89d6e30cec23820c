#pragma once
// Commands travel from the active view through its document window to the main frame and
// the application; the first target that knows a command handles it. Update handlers set
// whether a command is enabled and checked; a command nobody updates is disabled.

#include <QString>
#include <optional>

struct CommandUpdate {
    bool enabled = false;
    bool checked = false;
    std::optional<QString> text;  // replaces the menu text (recent files)
    std::optional<QString> statusTip;  // replaces the status-bar text (why a command is disabled)

    void Enable(bool on = true) { enabled = on; }
    void SetCheck(bool on) { checked = on; }
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // True when this target handled the command.
    virtual bool OnCommand(int id) = 0;
    // True when this target owns the command's state and filled it in.
    virtual bool OnUpdateCommand(int id, CommandUpdate& update) = 0;
};
