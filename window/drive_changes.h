#pragma once
#include <cstdint>
#include <utility>

// Changes on disk come in bursts: copying 1,000 files is 1,000 changes. The
// lists are read again once a burst pauses for a moment, and about every
// second while it goes on, never once for each change.
class DriveChanges {
public:
    struct Lists {
        bool folders = false, files = false;
    };

    // Something changed in the folder the folder list has open, or in the
    // one the file list shows.
    void Seen(Lists changed, uint64_t nowMs) {
        if (!Waiting()) firstMs_ = nowMs;
        lastMs_ = nowMs;
        pending_.folders |= changed.folders;
        pending_.files |= changed.files;
    }

    // The lists to read again at nowMs: none while a burst goes on.
    Lists TakeDue(uint64_t nowMs) {
        constexpr uint64_t kQuietMs = 250, kLongestWaitMs = 1000;
        if (!Waiting() || (nowMs - lastMs_ < kQuietMs && nowMs - firstMs_ < kLongestWaitMs)) return {};
        return std::exchange(pending_, {});
    }

    bool Waiting() const { return pending_.folders || pending_.files; }

private:
    Lists pending_;
    uint64_t firstMs_ = 0, lastMs_ = 0;
};
