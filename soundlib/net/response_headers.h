#pragma once
// The header block of an HTTP or radio response, line by line as it arrived, status line
// first ("HTTP/1.0 200 OK", "ICY 200 OK"). Lines are bytes on the wire: UTF-8 when valid,
// else windows-1251; they are kept as UTF-8. A new status line (after a redirect) starts
// the block afresh.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soundlib::net {

class ResponseHeaders {
public:
    // Caps on one response's header block, so that a hostile server cannot grow it.
    static constexpr std::size_t kMaxBytes = 16 * 1024;
    static constexpr std::size_t kMaxLines = 100;

    // Takes one received line, line break included. Returns false when the block grows
    // past a cap. Lines after the block's end are ignored.
    bool addLine(std::string_view raw);

    // The empty line that ends the block has arrived.
    bool complete() const { return complete_; }
    // The status code of the status line, 0 when there is none.
    int status() const { return status_; }
    const std::vector<std::string>& lines() const { return lines_; }
    // The value of the first header named `name` (ASCII case ignored), blanks trimmed.
    std::optional<std::string> value(std::string_view name) const;
    // Each line followed by a NUL, then one more NUL: the block as callers read it.
    // Callers may read only the block's start, and a streaming server may send a few
    // hundred bytes of other headers before the station's, so the order is: the status
    // line; lines that only name station headers (a list of exposed headers), so that a
    // reader taking the last line with a station header's name finds the station's own;
    // the station's "icy-" lines; the rest. Within each kind, lines keep their order.
    std::string tagBlock() const;

private:
    std::vector<std::string> lines_;
    std::size_t bytes_ = 0;
    int status_ = 0;
    bool complete_ = false;
};

}  // namespace soundlib::net
