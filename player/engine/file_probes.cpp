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
        if (at == awaited_) arrived_.notify_one();
    }
}

FileProbe FileProbes::Take(int index) {
    const auto at = static_cast<std::size_t>(index);
    std::unique_lock lock(mutex_);
    while (ready_[at] == 0) {
        // Each sleep costs two switches of thread: rather than waking for every file, the
        // taker sleeps until the workers are some files ahead and then takes them in a row.
        std::size_t until = std::min(at + kAhead, results_.size() - 1);
        if (ready_[until] != 0) until = at;
        awaited_ = until;
        arrived_.wait(lock, [&] { return ready_[until] != 0; });
    }
    awaited_ = kNobody;
    return results_[at];
}
