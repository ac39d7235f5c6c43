// File flows of the window: the document actions with their file and unit dialogs.
#include "cmdroute.h"

bool DocCmd(QWidget* /*frame*/, int /*id*/) { return false; }

bool DocOpenPath(QWidget* /*frame*/, const QString& /*path*/) { return false; }
