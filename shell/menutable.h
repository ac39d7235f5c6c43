// The menu bar and toolbars as data: every command id with its text, fly-by help, tool tip, icon,
// the view in which it is available and the engine command it issues.
#pragma once
#include <QString>
#include <vector>

namespace shl {

// Where a command is available (the update handlers grey it elsewhere).
enum CmdAvail { AvAlways = 0, Av2D = 1, Av3D = 2 };

struct CmdDef {
    int id;
    const char* text;    // menu text, "&" marks the mnemonic
    const char* status;  // status-bar help while the item is highlighted
    const char* tip;     // tool tip of the toolbar button (null: the menu text)
    const char* icon;    // icon resource name under :/icons (null: none)
    CmdAvail avail;
    int cat, code;       // engine command IntrCmd(cat, code); cat 0: handled otherwise
};

// Every command of the window; null for an unknown id.
const CmdDef* FindCmd(int id);
const std::vector<CmdDef>& AllCmds();

// A menu of the menu bar: its title and the ids of its items in order, 0 for a separator.
struct MenuDef {
    const char* title;
    std::vector<int> items;
};
const std::vector<MenuDef>& MenuBarDef();

// A toolbar: resource id, title, buttons in order (0 for a separator). In creation order.
struct ToolbarDef {
    int id;
    const char* title;
    std::vector<int> buttons;
};
const std::vector<ToolbarDef>& ToolbarsDef();

// The generation method of a method radio item (IdTrnMethod0 + k), -1 for another id.
int MethodOfCmd(int id);
// Method k's short name (its menu item and the preferences' combo) and its description, in the
// interface's language.
QString MethodText(int k);
QString MethodHelp(int k);

}  // namespace shl
