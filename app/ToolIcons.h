/** @file The toolbar's pictures: the desktop's icon theme, or the program's own. */
#pragma once

#include <QIcon>
#include <QString>

namespace tw {

/// The picture of toolbar command `command` ("actCut", "actPrint", ...): the
/// desktop theme's icon of its freedesktop name (edit-cut, document-print,
/// ...), else a picture the program draws itself. Window arrangements have
/// no freedesktop name and always get the program's own. A null icon for a
/// command without a picture.
QIcon ToolIcon(const QString& command);

}  // namespace tw
