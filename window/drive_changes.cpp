#include "drive_changes.h"

#include <algorithm>

namespace {

// Beyond this many names, reading the folder again costs less than placing
// them one by one, and the window stays responsive.
constexpr size_t kMostNames = 1000;

bool MustReadWhole(const FolderReport& report) { return report.kind != FolderReport::Kind::Names; }

}  // namespace

void DriveChanges::Seen(FolderReport report, uint64_t nowMs) {
    Noted(nowMs);
    auto kept = std::find_if(pending_.begin(), pending_.end(),
                             [&](const FolderReport& pending) { return pending.folder == report.folder; });
    if (kept == pending_.end()) {
        pending_.push_back(std::move(report));
        kept = pending_.end() - 1;
    } else if (MustReadWhole(report) || MustReadWhole(*kept)) {
        kept->kind = std::max(kept->kind, report.kind);  // a failure outweighs lost changes
    } else {
        kept->names.insert(kept->names.end(), std::make_move_iterator(report.names.begin()),
                           std::make_move_iterator(report.names.end()));
    }
    if (kept->names.size() > kMostNames) kept->kind = FolderReport::Kind::TooMany;
    if (MustReadWhole(*kept)) kept->names.clear();
}

void DriveChanges::ReadEverythingAgain(uint64_t nowMs) {
    Noted(nowMs);
    everything_ = true;
}

DriveChanges::Due DriveChanges::TakeDue(uint64_t nowMs) {
    const bool slow = everything_ || std::any_of(pending_.begin(), pending_.end(), MustReadWhole);
    const uint64_t quietMs = slow ? 250 : 100, longestMs = slow ? 1000 : 250;
    if (!Waiting() || (nowMs - lastMs_ < quietMs && nowMs - firstMs_ < longestMs)) return {};
    Due due{everything_, std::move(pending_)};
    everything_ = false;
    pending_.clear();
    return due;
}

void DriveChanges::Noted(uint64_t nowMs) {
    if (!Waiting()) firstMs_ = nowMs;
    lastMs_ = nowMs;
}
