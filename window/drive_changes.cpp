#include "drive_changes.h"

#include <algorithm>
#include <utility>

namespace {

// Beyond this many names, reading the folder again costs less than placing
// them one by one, and the window stays responsive.
constexpr size_t kMostNames = 1000;

// A watch that fails this soon after it was started anew fails at every
// start; it is retried after a wait that doubles, from the first to the longest.
constexpr uint64_t kFailsAtOnceMs = 1000, kFirstWaitMs = 1000, kLongestWaitMs = 60000;

bool MustReadWhole(const FolderReport& report) { return report.kind != FolderReport::Kind::Names; }

}  // namespace

void DriveChanges::Seen(FolderReport report, uint64_t nowMs) {
    if (!BackedOff(report, nowMs)) Keep(std::move(report), nowMs);
}

void DriveChanges::Keep(FolderReport report, uint64_t nowMs) {
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

void DriveChanges::Restarted(const std::wstring& folder, uint64_t nowMs) {
    const auto retry = std::find_if(retries_.begin(), retries_.end(), [&](const Retry& r) { return r.folder == folder; });
    if (retry == retries_.end()) retries_.push_back({folder, nowMs, 0, 0, std::nullopt});
    else retry->startedMs = nowMs;
}

// A failure soon after a restart is held until its wait is over; any other
// report of the folder ends the waits.
bool DriveChanges::BackedOff(FolderReport& report, uint64_t nowMs) {
    const auto retry = std::find_if(retries_.begin(), retries_.end(), [&](const Retry& r) { return r.folder == report.folder; });
    if (retry == retries_.end()) return false;
    if (report.kind != FolderReport::Kind::Failure) {
        retries_.erase(retry);
        return false;
    }
    if (nowMs - retry->startedMs >= kFailsAtOnceMs) return false;
    retry->waitMs = retry->waitMs ? std::min(retry->waitMs * 2, kLongestWaitMs) : kFirstWaitMs;
    retry->dueMs = nowMs + retry->waitMs;
    retry->held = std::move(report);
    return true;
}

DriveChanges::Due DriveChanges::TakeDue(uint64_t nowMs) {
    for (Retry& retry : retries_) {
        if (retry.held && nowMs >= retry.dueMs) Keep(*std::exchange(retry.held, std::nullopt), nowMs);
    }
    const bool slow = everything_ || std::any_of(pending_.begin(), pending_.end(), MustReadWhole);
    const uint64_t quietMs = slow ? 250 : 100, longestMs = slow ? 1000 : 250;
    if (!Waiting() || (nowMs - lastMs_ < quietMs && nowMs - firstMs_ < longestMs)) return {};
    Due due{everything_, std::move(pending_)};
    everything_ = false;
    pending_.clear();
    return due;
}

bool DriveChanges::Waiting() const {
    return everything_ || !pending_.empty() ||
           std::any_of(retries_.begin(), retries_.end(), [](const Retry& retry) { return retry.held.has_value(); });
}

void DriveChanges::Noted(uint64_t nowMs) {
    if (!Waiting()) firstMs_ = nowMs;
    lastMs_ = nowMs;
}
