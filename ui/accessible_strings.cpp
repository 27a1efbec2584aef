#include "ui/accessible_strings.h"

#include "res/string_table.h"
#include "ui/CSCSystemButtons.h"
#include "ui/caption_glyphs.h"

QString AccessibleString(AccessibleStringId id)
{
    return QString::fromStdString(load_string(id));
}

QString WindowCommandName(int command, bool window_maximized)
{
    switch (command) {
    case kCommandMinimize: return AccessibleString(kStrMinimize);
    case kCommandMaximize: return AccessibleString(window_maximized ? kStrRestore : kStrMaximize);
    case kCommandClose: return AccessibleString(kStrClose);
    case CSCSystemButtons::kCommandKeepOnTop: return AccessibleString(kStrKeepOnTop);
    case CSCSystemButtons::kCommandHelp: return AccessibleString(kStrHelp);
    default: return {};
    }
}
