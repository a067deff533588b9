#include "headless_host/cli/progress.h"

#include <unistd.h>

#include <utility>

namespace knotwell::cli {
namespace {

constexpr int kWidth = 30;

}  // namespace

bool Progress::StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

void Progress::Start(std::string label, long total) {
    label_ = std::move(label);
    total_ = total;
    done_ = 0;
    drawn_percent_ = -1;
    Draw();
}

void Progress::Advance() {
    ++done_;
    Draw();
}

void Progress::Finish() {
    if (enabled_ && drawn_percent_ >= 0) out_ << "\r\033[K" << std::flush;
    drawn_percent_ = -1;
}

// Redraws only when the percentage moves: a long render stays cheap.
void Progress::Draw() {
    const int percent = total_ > 0 ? static_cast<int>(done_ * 100 / total_) : 100;
    if (!enabled_ || percent == drawn_percent_) return;
    drawn_percent_ = percent;
    const int filled = percent * kWidth / 100;
    out_ << "\r" << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << done_ << "/" << total_
         << std::flush;
}

}  // namespace knotwell::cli
