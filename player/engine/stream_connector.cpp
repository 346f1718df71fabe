#include "player/engine/stream_connector.h"

#include <QByteArray>
#include <algorithm>
#include <atomic>
#include <thread>

#include "player/engine/scoped_channel.h"
#include "soundlib/soundlib.h"

struct StreamConnector::Connection {
    std::thread thread;
    std::atomic<std::uint32_t> stream{0};
    Opened opened;  // empty once abandoned
};

StreamConnector::StreamConnector() = default;

StreamConnector::~StreamConnector() {
    for (const auto& connection : connections_) {
        connection->thread.join();
        ScopedChannel::Free(connection->stream);
    }
}

void StreamConnector::Open(const QString& address, Opened opened) {
    auto connection = std::make_unique<Connection>();
    Connection* c = connection.get();
    c->opened = std::move(opened);
    connections_.push_back(std::move(connection));
    c->thread = std::thread([this, c, url = address.toUtf8()] {
        c->stream = BASS_StreamCreateURL(url.constData(), 0, SOUND_STREAM_META, nullptr, nullptr);
        QMetaObject::invokeMethod(
            &context_, [this, c] { finished(c); }, Qt::QueuedConnection);
    });
}

void StreamConnector::CancelAll() {
    for (const auto& connection : connections_) connection->opened = nullptr;
}

bool StreamConnector::Busy() const {
    return std::any_of(connections_.begin(), connections_.end(),
                       [](const auto& connection) { return bool(connection->opened); });
}

void StreamConnector::finished(Connection* connection) {
    connection->thread.join();
    const std::uint32_t stream = connection->stream;
    const Opened opened = std::move(connection->opened);
    connections_.remove_if([connection](const auto& c) { return c.get() == connection; });
    if (opened) {
        opened(stream);
    } else {
        ScopedChannel::Free(stream);
    }
}
