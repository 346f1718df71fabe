#include "soundlib/net/icy_demuxer.h"

#include <algorithm>
#include <utility>

namespace soundlib::net {

IcyDemuxer::IcyDemuxer(std::size_t interval, BlockHandler onBlock)
    : interval_(interval), onBlock_(std::move(onBlock)), untilPoint_(interval) {}

void IcyDemuxer::feed(const std::uint8_t* data, std::size_t size,
                      std::vector<std::uint8_t>& audio) {
    std::size_t i = 0;
    while (i < size) {
        if (blockLeft_ > 0) {
            const std::size_t take = std::min(blockLeft_, size - i);
            block_.append(reinterpret_cast<const char*>(data + i), take);
            i += take;
            blockLeft_ -= take;
            metadataBytes_ += static_cast<std::int64_t>(take);
            if (blockLeft_ == 0) finishBlock();
            continue;
        }
        if (interval_ != 0 && untilPoint_ == 0) {
            blockLeft_ = std::size_t{data[i]} * 16;
            ++i;
            ++points_;
            ++metadataBytes_;
            untilPoint_ = interval_;
            continue;
        }
        const std::size_t take = interval_ == 0 ? size - i : std::min(untilPoint_, size - i);
        audio.insert(audio.end(), data + i, data + i + take);
        i += take;
        audioBytes_ += static_cast<std::int64_t>(take);
        if (interval_ != 0) untilPoint_ -= take;
    }
}

void IcyDemuxer::finishBlock() {
    std::string_view text(block_);
    text = text.substr(0, text.find('\0'));
    if (!text.empty()) onBlock_(audioBytes_, text);
    block_.clear();
}

}  // namespace soundlib::net
