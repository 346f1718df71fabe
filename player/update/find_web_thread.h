#pragma once
// One transfer of an update file on a thread of its own. The thread touches no window:
// every status change and the end of the transfer are sent to the window thread as
// queued signals, in the order they happen. The object deletes itself (deleteLater on
// the window thread) once the thread has ended.
#include <QString>
#include <QThread>
#include <cstdint>

#include "player/update/web_transfer.h"

class TFindWebThread : public QThread, private WebTransferObserver {
    Q_OBJECT
public:
    // The texts of the transfer's steps.
    static const QString kConnecting;
    static const QString kOpening;
    static const QString kAsking;
    static const QString kAnswer;  // followed by the status code
    static const QString kSizeAsked;
    static const QString kSize;  // followed by the size
    static const QString kCannotOpen;
    static const QString kCut;
    static const QString kTooLarge;
    static const QString kWriteFailed;
    static const QString kDone;

    TFindWebThread(QString url, QString targetPath, WebTransferSettings settings,
                   QObject* parent = nullptr);

    // Ends the transfer soon, as a failure; callable from any thread.
    void cancel() { transfer_.cancel(); }

    // Read and written on the transfer thread only; the window gets copies.
    QString StatusText;
    std::int64_t Received = 0;
    const QString Url;
    const QString TargetPath;

signals:
    // A status change: the text, the bytes received and the announced size (0 before it
    // is known).
    void statusShown(const QString& text, qint64 received, qint64 size);
    // Every announced byte is in place at TargetPath; sent before the last status.
    void completed();
    // The transfer ended without the file; sent after the last status.
    void failed();

protected:
    void run() override;

private:
    void ShowStatus(const QString& text);
    void answered(const std::string& code) override;
    void sizeAsked() override;
    void sizeKnown(std::int64_t size) override;
    void bytesReceived(std::int64_t received, std::int64_t size) override;

    WebTransfer transfer_;
    std::int64_t size_ = 0;
};
