// Replays a journal into the real window: events reach the view as the user's would, the view
// paints between lines, and `snapshot` writes what the view shows.
#pragma once
#include <QString>
#include "journal.h"

namespace shl {

class MainFrame;

class JournalHost : public jrn::Host {
public:
    explicit JournalHost(MainFrame* frame) : frame_(frame) {}

    // Runs the journal file (the engine has been started by the application and is left running).
    int Run(const QString& path);

    bool Resize(int w, int h) override;
    bool Pointer(int x, int y, int type) override;
    bool Key(int vk, int type) override;
    bool Tick() override;
    bool Wheel(int x, int y, int clicks) override;
    bool CanSnapshot() override { return true; }
    bool Snapshot(const std::string& path, std::string* err) override;
    void Idle() override;
    // The start-up question about a recovery copy, answered by the journal's first line.
    void Begun() override;
    // Menus, drops, dumps of the window, and dialog answers (`dialog ...`, `filedialog ...`).
    bool WindowVerb(const std::vector<std::string>& words, std::string* err) override;

private:
    MainFrame* frame_;
    bool leftDown_ = false, rightDown_ = false;
};

}  // namespace shl
