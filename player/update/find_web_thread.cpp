#include "player/update/find_web_thread.h"

const QString TFindWebThread::kConnecting = QStringLiteral("Соединяемся с Tavrel Update...");
const QString TFindWebThread::kOpening = QStringLiteral("Откратие Url...");
const QString TFindWebThread::kAsking = QStringLiteral("Посылаем запрос серверу.");
const QString TFindWebThread::kAnswer = QStringLiteral("Ответ сервера: ");
const QString TFindWebThread::kSizeAsked = QStringLiteral("Запрашиваем размер файла");
const QString TFindWebThread::kSize = QStringLiteral("Размер файла: ");
const QString TFindWebThread::kCannotOpen = QStringLiteral("Cannot open URL");
const QString TFindWebThread::kCut = QStringLiteral("Загрузка прервана");
const QString TFindWebThread::kTooLarge = QStringLiteral("Файл слишком велик");
const QString TFindWebThread::kWriteFailed = QStringLiteral("Не удалось записать файл");
const QString TFindWebThread::kDone = QStringLiteral("Выполнено");

TFindWebThread::TFindWebThread(QString url, QString targetPath, WebTransferSettings settings,
                               QObject* parent)
    : QThread(parent),
      Url(std::move(url)),
      TargetPath(std::move(targetPath)),
      transfer_(std::move(settings)) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TFindWebThread::ShowStatus(const QString& text) {
    StatusText = text;
    emit statusShown(StatusText, Received, size_);
}

void TFindWebThread::run() {
    ShowStatus(kConnecting);
    ShowStatus(kOpening);
    const auto result = transfer_.fetch(Url.toStdString(), TargetPath.toStdString(), *this);
    switch (result) {
        case WebTransferResult::Complete:
            emit completed();
            break;
        case WebTransferResult::NoSession:
            emit failed();
            return;
        case WebTransferResult::NotOpened:
            ShowStatus(kCannotOpen + QStringLiteral(": ") + Url);
            break;
        case WebTransferResult::BadStatus:
            ShowStatus(kCannotOpen);
            break;
        case WebTransferResult::NoSize:
            // The status stays at the size being asked for.
            emit failed();
            return;
        case WebTransferResult::TooLarge:
            ShowStatus(kTooLarge);
            break;
        case WebTransferResult::Cut:
        case WebTransferResult::Cancelled:
            ShowStatus(kCut);
            break;
        case WebTransferResult::WriteFailed:
            ShowStatus(kWriteFailed);
            break;
    }
    size_ = 0;
    Received = 0;
    ShowStatus(kDone);
    if (result != WebTransferResult::Complete) emit failed();
}

void TFindWebThread::answered(const std::string& code) {
    ShowStatus(kAsking);
    ShowStatus(kAnswer + QString::fromStdString(code));
}

void TFindWebThread::sizeAsked() {
    ShowStatus(kSizeAsked);
}

void TFindWebThread::sizeKnown(std::int64_t size) {
    size_ = size;
    Received = 0;
    ShowStatus(kSize + QString::number(size));
}

void TFindWebThread::bytesReceived(std::int64_t received, std::int64_t size) {
    Received = received;
    ShowStatus(QString::number(size) + QLatin1Char('/') + QString::number(received));
}
