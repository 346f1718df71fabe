#pragma once
// Measures files and reads their tags on worker threads, ahead of the thread that takes
// the results one by one in list order. Adding a large folder so keeps every core busy
// while the entries still go into the playlist and the library in the order given.
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "songmeta/songmeta.h"

// What is learnt of one file before it is added.
struct FileProbe {
    int lengthMs = -1;  // as ProbeLength gives it
    SongInformation info{};
};

class FileProbes {
public:
    using Measure = std::function<FileProbe(const QString& path)>;

    // Starts `threads` workers (at least one) that call `measure` for every path, in
    // order of the list as far as the threads allow. `measure` must be safe to call on
    // several threads at once.
    FileProbes(QStringList paths, int threads, Measure measure);
    // Lets each worker finish the file it is on, and waits for them.
    ~FileProbes();
    FileProbes(const FileProbes&) = delete;
    FileProbes& operator=(const FileProbes&) = delete;

    // The result for paths[index], waiting for it when it is not ready yet. Each index
    // is taken once.
    FileProbe Take(int index);

private:
    void work();

    const QStringList paths_;
    const Measure measure_;
    std::vector<FileProbe> results_;
    static constexpr std::size_t kAhead = 64;
    static constexpr std::size_t kNobody = static_cast<std::size_t>(-1);

    std::vector<char> ready_;        // guarded by mutex_
    std::size_t awaited_ = kNobody;  // the result Take sleeps for; guarded by mutex_
    std::atomic<int> next_{0};
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::thread> workers_;  // last: they use everything above
};
