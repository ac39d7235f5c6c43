// The journal's verbs of the main window: `menu ID`, `drop PATH`, `dump menu`, `dump window`.
// They go through the same paths as the user's clicks and drops.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace shl {

class MainFrame;

// Runs the line words (verb first) on frame, printing through print. True when it ran; false with
// *err set when the line is malformed; false with *err empty when the verb is not one of these.
bool FrameVerb(MainFrame* frame, const std::vector<std::string>& words, std::string* err,
               const std::function<void(const std::string&)>& print);

}  // namespace shl
