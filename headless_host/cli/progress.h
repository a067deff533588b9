// A progress bar on stderr for steps that take long (rendering many frames,
// a bake), drawn only when stderr is a terminal so that logs and pipes get
// nothing.
#pragma once

#include <ostream>
#include <string>

namespace knotwell::cli {

class Progress {
public:
    Progress(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    // Whether the process's stderr is a terminal.
    static bool StderrIsTerminal();

    void Start(std::string label, long total);
    void Advance();
    // Clears the bar's line.
    void Finish();

private:
    void Draw();

    std::ostream& out_;
    bool enabled_;
    std::string label_;
    long total_ = 0;
    long done_ = 0;
    int drawn_percent_ = -1;
};

}  // namespace knotwell::cli
