#include "player/engine/file_probes.h"

#include <algorithm>

FileProbes::FileProbes(QStringList paths, int threads, Measure measure)
    : paths_(std::move(paths)),
      measure_(std::move(measure)),
      results_(static_cast<std::size_t>(paths_.size())),
      ready_(static_cast<std::size_t>(paths_.size()), 0) {
    const int count = std::clamp(threads, 1, std::max<int>(1, static_cast<int>(paths_.size())));
    workers_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) workers_.emplace_back([this] { work(); });
}

FileProbes::~FileProbes() {
    stopping_ = true;
    for (std::thread& worker : workers_) worker.join();
}

void FileProbes::work() {
    for (int index = next_++; index < paths_.size() && !stopping_; index = next_++) {
        FileProbe probe = measure_(paths_.at(index));
        const auto at = static_cast<std::size_t>(index);
        std::lock_guard lock(mutex_);
        results_[at] = probe;
        ready_[at] = 1;
        arrived_.notify_all();
    }
}

FileProbe FileProbes::Take(int index) {
    const auto at = static_cast<std::size_t>(index);
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [&] { return ready_[at] != 0; });
    return results_[at];
}
