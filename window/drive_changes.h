#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "folder_watch.h"

// Changes on disk come in bursts: copying 1,000 files is 1,000 changes. What
// the watched folders report is kept until the burst pauses for a moment,
// then applied at once, and about four times a second while it goes on.
// A folder to be read again whole waits longer, up to a second: reading a
// big folder costs far more than placing a few names.
class DriveChanges {
public:
    // A watched folder reported.
    void Seen(FolderReport report, uint64_t nowMs);

    // The watch on folder was started anew after a failure. One that fails
    // again within a second is retried after a wait, doubling up to a
    // minute, so a share that refuses to be watched is not read again and
    // again; a good report ends the wait.
    void Restarted(const std::wstring& folder, uint64_t nowMs);
    void RetryNow() { retries_.clear(); }

    // Every folder the lists show is to be read again whole.
    void ReadEverythingAgain(uint64_t nowMs);

    struct Due {
        bool everything = false;
        std::vector<FolderReport> reports;  // one per folder
    };
    // What is due at nowMs; nothing while the burst goes on.
    Due TakeDue(uint64_t nowMs);

    bool Waiting() const;

private:
    void Keep(FolderReport report, uint64_t nowMs);
    void Noted(uint64_t nowMs);
    bool BackedOff(FolderReport& report, uint64_t nowMs);

    struct Retry {
        std::wstring folder;
        uint64_t startedMs = 0, waitMs = 0, dueMs = 0;
        std::optional<FolderReport> held;  // the failure, until dueMs
    };
    std::vector<Retry> retries_;

    std::vector<FolderReport> pending_;
    bool everything_ = false;
    uint64_t firstMs_ = 0, lastMs_ = 0;
};
