// The engine's table of 30 cursors: the arrow, the wait cursor and cursors drawn for the
// application's modes.
#pragma once
#include <QCursor>

namespace shl {

constexpr int CursorNum = 30;
// Cursor of table entry index (0..29); other indexes give the arrow.
QCursor EngCursor(int index);

}  // namespace shl
