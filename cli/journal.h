// Journal runner: replays engine inputs from a text file and prints what a user would see.
//
// The batch program runs journals headless with the default Host. The application
// (`altimetra --journal FILE`) passes its own Host so that the same lines drive the real window:
// it resizes the view, paints between events and can write snapshots.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace jrn {

// Exit statuses of a run.
enum Status { StOk = 0, StNoEngine = 1, StMalformed = 2 };

class Host {
public:
    virtual ~Host() = default;

    // Make the view measure w x h pixels. Return true when the host's own size event has passed
    // the size to the engine (WinSizW/WinSizH and IntrCmd(CatDsp, CmdDspResize)); false lets the runner
    // do that itself, as the batch program does.
    virtual bool Resize(int w, int h) { (void)w; (void)h; return false; }

    // Events of the journal's pointer, key and tick verbs: a pointer event type (1, 2, 5, 6, 7)
    // at window pixel (x, y), a key event type (8, 9) of virtual-key code vk, a timer tick.
    // Return true when the host has delivered the event through its view as a user's event
    // arrives (the view then stores the position, calls the router and flushes the drawing);
    // false lets the runner hand it to the engine itself, as the batch program does.
    virtual bool Pointer(int x, int y, int type) { (void)x; (void)y; (void)type; return false; }
    virtual bool Key(int vk, int type) { (void)vk; (void)type; return false; }
    virtual bool Tick() { return false; }
    // `wheel X Y CLICKS`: the mouse wheel turned CLICKS notches at window pixel (x, y), positive
    // away from the user (zoom in), negative towards (zoom out). True when the host delivered it
    // through its view; false lets the runner issue the engine's wheel commands itself.
    virtual bool Wheel(int x, int y, int clicks) { (void)x; (void)y; (void)clicks; return false; }

    // `snapshot FILE`: only hosts with a view support it (elsewhere the line is malformed).
    virtual bool CanSnapshot() { return false; }
    // Write the view's visible picture (feedback drawing included) as a PNG. On failure return
    // false with *err saying why; the run then stops as for a malformed line.
    virtual bool Snapshot(const std::string& path, std::string* err) {
        (void)path;
        *err = "no view";
        return false;
    }

    // A verb that only the window knows (menus, dialogs, drops, and the window's dump kinds
    // `dump menu`, `dump window`). Return true when the host ran it; false with *err set when the
    // line is malformed for it; false with *err empty when the host does not know the verb (the
    // batch program knows none of them).
    virtual bool WindowVerb(const std::vector<std::string>& words, std::string* err) {
        (void)words;
        (void)err;
        return false;
    }

    // Called once, after the journal's first line has run (or at its end when it has none): the
    // window asks its start-up questions there, so that a first line `answer ...` answers them.
    virtual void Begun() {}

    // Called after every event the runner hands to the engine (pointer events after the drawing
    // has been flushed, as the view does) and after every journal line, so that the host can
    // paint and handle pending window events between them.
    virtual void Idle() {}

    // Destination of everything the run prints (text includes its line feeds).
    virtual void Print(const std::string& text);
    // Destination of the malformed-line and start-up error messages.
    virtual void Error(const std::string& text);
};

struct Options {
    // Start the engine as the application does (temporary names, settings defaults with an empty
    // profile, DstrCmd(CatSys, CmdSysIni), start-up and terrain scenes). The application, which has
    // started the engine itself, turns this off.
    bool startEngine = true;
    // End the engine (DstrCmd(CatSys, CmdSysEnd)) after the run, unless the journal has ended it.
    bool endEngine = true;
};

// Runs the lines of in. Returns a Status.
int Run(std::istream& in, Host& host, const Options& opt = {});
// Runs the journal file at path ("-" for standard input). A file that cannot be read is
// reported through host.Error and gives StNoEngine.
int RunFile(const std::string& path, Host& host, const Options& opt = {});

}  // namespace jrn
