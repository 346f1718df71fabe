#include "soundlib/prefetch_decoder.h"

#include <algorithm>

namespace soundlib {
namespace {
constexpr std::size_t kChunkFrames = 2048;
}

PrefetchDecoder::PrefetchDecoder(std::unique_ptr<Decoder> inner, std::size_t aheadFrames,
                                 Seeking seeking)
    : inner_(std::move(inner)),
      format_(inner_->format()),
      length_(inner_->lengthFrames()),
      ahead_(std::max(aheadFrames, kChunkFrames)),
      seeking_(seeking),
      thread_([this] { run(); }) {}

PrefetchDecoder::~PrefetchDecoder() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    // A read of a stalled internet stream would otherwise hold the join for its timeout.
    if (ByteSource* source = inner_->byteSource()) source->cancel();
    thread_.join();
}

void PrefetchDecoder::run() {
    std::vector<std::int16_t> chunk(2 * kChunkFrames);
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (seekTo_ >= 0) {
            const std::int64_t target = seekTo_;
            seekTo_ = -1;
            lock.unlock();
            const bool ok = inner_->seek(target);
            lock.lock();
            ready_.clear();
            offsets_.clear();
            queued_ = taken_ = 0;
            innerEnded_ = false;
            seekOk_ = ok;
            seekDone_ = true;
            changed_.notify_all();
            continue;
        }
        if (innerEnded_ || ready_.size() / 2 >= ahead_) {
            changed_.wait(lock);
            continue;
        }
        lock.unlock();
        const std::size_t got = inner_->read(chunk.data(), kChunkFrames);
        const bool ended = inner_->ended();
        const std::int64_t offset = inner_->inputOffset();
        lock.lock();
        if (seekTo_ >= 0) continue;  // what was read belongs before the seek
        if (got > 0) {
            offsets_.emplace_back(queued_, offset);
            ready_.insert(ready_.end(), chunk.begin(), chunk.begin() + 2 * static_cast<long>(got));
            queued_ += got;
        }
        if (ended) innerEnded_ = true;
    }
}

std::size_t PrefetchDecoder::read(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(mutex_);
    const std::size_t take = std::min(frames, ready_.size() / 2);
    std::copy_n(ready_.begin(), 2 * take, out);
    ready_.erase(ready_.begin(), ready_.begin() + 2 * static_cast<long>(take));
    taken_ += take;
    while (!offsets_.empty() && offsets_.front().first < taken_) {
        lastOffset_ = offsets_.front().second;
        offsets_.pop_front();
    }
    if (take > 0) changed_.notify_all();
    return take;
}

bool PrefetchDecoder::ended() const {
    std::lock_guard lock(mutex_);
    return innerEnded_ && ready_.empty();
}

bool PrefetchDecoder::seek(std::int64_t frame) {
    if (length_ < 0 || frame < 0 || frame > length_) return false;
    std::unique_lock lock(mutex_);
    seekTo_ = frame;
    seekDone_ = false;
    changed_.notify_all();
    if (seeking_ == Seeking::Queued) {
        // Nothing read before the seek may be taken after it; a block being read now is
        // dropped by the thread when it sees the seek.
        ready_.clear();
        offsets_.clear();
        queued_ = taken_ = 0;
        innerEnded_ = false;
        return true;
    }
    changed_.wait(lock, [this] { return seekDone_ || stop_; });
    return seekDone_ && seekOk_;
}

std::int64_t PrefetchDecoder::inputOffset() const {
    std::lock_guard lock(mutex_);
    return lastOffset_;
}

}  // namespace soundlib
