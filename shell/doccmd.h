// The document flows' helpers that the frame and the application use besides DocCmd.
#pragma once
#include <QString>

class QWidget;

namespace shl {

// With unsaved changes, asks whether to save them first: Yes saves (Save As when the document has
// no file), No discards, Cancel stops. True when the caller may go on.
bool DocSaveFirst(QWidget* frame);
// The window may close: the unsaved-changes question, unless 57665 has just asked it.
bool DocCanClose(QWidget* frame);
// The next close of the window does not ask (the end of a journal run with --exit).
void DocSkipCloseAsk();
// The recent-file list (newest first, four at most) of the profile and the File menu.
void AddRecentFile(QWidget* frame, const QString& path);
void DropRecentFile(QWidget* frame, const QString& path);

}  // namespace shl
