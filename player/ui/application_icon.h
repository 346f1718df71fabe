#pragma once
// The program's icon (window, taskbar and tray), drawn in code: a glossy blue disc with a
// white play mark, in the look of the button bar.
#include <QIcon>

QIcon applicationIcon();
