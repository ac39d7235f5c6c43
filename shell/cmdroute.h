// Menu and toolbar commands that the shell handles itself before anything reaches the engine.
// The main frame routes a command id here first; each returns false for an id it does not own.
#pragma once

class QWidget;

bool DocCmd(QWidget* frame, int id);  // file flows: new, open, save, import, export, recent files
bool DlgCmd(QWidget* frame, int id);  // commands that open a parameter dialog
