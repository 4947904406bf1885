// Shell shortcuts (".lnk" files). The open-file dialog gives a chosen shortcut's
// target; a drop hands over the shortcut itself, which is then followed here.
#pragma once

#include "runtime/Text.h"

// True when the path names a shortcut: it ends in ".lnk", in any case.
bool IsShortcut(const TText& path);
// The path the shortcut points to, read through the shell's link object; false
// when the file is no shortcut that can be read or it points to no file-system path.
bool ShortcutTarget(const TText& shortcut, TText& target);
