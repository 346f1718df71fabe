#pragma once
// Opens internet streams on threads of their own, so that a slow or silent server never
// holds the window thread; each result comes back on the thread that asked, through its
// event loop.
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>

class StreamConnector {
public:
    // Receives the stream, now its own, or 0 when the address could not be opened.
    using Opened = std::function<void(std::uint32_t stream)>;

    StreamConnector();
    // Waits for the connections under way (the stream layer's timeout bounds each) and
    // frees what they opened.
    ~StreamConnector();
    StreamConnector(const StreamConnector&) = delete;
    StreamConnector& operator=(const StreamConnector&) = delete;

    // Opens `address` asking for in-stream metadata; `opened` runs later on this thread.
    void Open(const QString& address, Opened opened);
    // Abandons every connection under way: what it opens is freed, its receiver never runs.
    void CancelAll();
    // A connection that has not been abandoned is under way.
    bool Busy() const;

private:
    struct Connection;
    void finished(Connection* connection);

    QObject context_;  // delivers the results on the thread that asked
    std::list<std::unique_ptr<Connection>> connections_;
};
