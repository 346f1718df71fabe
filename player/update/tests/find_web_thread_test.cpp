// Transfers against a loopback server: the statuses in order, what lands on disk, and
// every way a transfer can fail without leaving a file behind.
#include "player/update/find_web_thread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>
#include <filesystem>

#include "player/update/tests/update_test_server.h"
#include "testing/temp_dir.h"

namespace {

using update_testing::UpdateTestServer;
namespace fs = std::filesystem;

std::string pattern(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 7 + i / 251) % 256);
    return bytes;
}

WebTransferSettings testSettings(const std::string& caFile = {}) {
    WebTransferSettings settings;
    settings.agent = "Tavrel FIG";
    settings.caFile = caFile;
    settings.stallTimeout = std::chrono::seconds(2);
    return settings;
}

struct Transfer {
    QStringList statuses;
    QList<qint64> received;
    QList<qint64> sizes;
    // "completed" or "failed", placed among the statuses where it arrived.
    QStringList events;
    bool ended = false;
    qint64 milliseconds = 0;
};

Transfer fetch(const std::string& url, const fs::path& target,
               WebTransferSettings settings = testSettings()) {
    Transfer run;
    QPointer<TFindWebThread> thread = new TFindWebThread(
        QString::fromStdString(url), QString::fromStdString(target.string()), settings);
    QObject::connect(thread, &TFindWebThread::statusShown,
                     [&](const QString& text, qint64 received, qint64 size) {
                         run.statuses << text;
                         run.received << received;
                         run.sizes << size;
                         run.events << text;
                     });
    QObject::connect(thread, &TFindWebThread::completed, [&] { run.events << "completed"; });
    QObject::connect(thread, &TFindWebThread::failed, [&] { run.events << "failed"; });
    QEventLoop loop;
    QObject::connect(thread, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    thread->start();
    loop.exec();
    run.milliseconds = clock.elapsed();
    run.ended = thread.isNull();
    return run;
}

// Nothing but the expected files in the folder: no temporary file is left.
std::vector<std::string> folderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TFindWebThread, FetchesFileWithStatusesInOrder) {
    testing_support::TempDir dir;
    UpdateTestServer server(dir.path(),
                            R"({"/programs/updates/a.bin": {"body": {"size": 40000}}})");
    fs::create_directories(dir / "updates");
    const auto target = dir / "updates" / "a.bin";
    const Transfer run = fetch(server.Url("/programs/updates/a.bin"), target);

    ASSERT_TRUE(run.ended);
    ASSERT_GE(run.statuses.size(), 8);
    EXPECT_EQ(run.statuses.mid(0, 6),
              QStringList({"Соединяемся с Tavrel Update...", "Откратие Url...",
                           "Посылаем запрос серверу.", "Ответ сервера: 200",
                           "Запрашиваем размер файла", "Размер файла: 40000"}));
    // The total before the bytes received, rising to the whole file.
    qint64 last = 0;
    for (int i = 6; i < run.statuses.size() - 1; ++i) {
        EXPECT_EQ(run.statuses[i], QStringLiteral("40000/%1").arg(run.received[i]));
        EXPECT_GT(run.received[i], last);
        EXPECT_EQ(run.sizes[i], 40000);
        last = run.received[i];
    }
    EXPECT_EQ(last, 40000);
    EXPECT_EQ(run.events.mid(run.events.size() - 2), QStringList({"completed", "Выполнено"}));
    EXPECT_EQ(run.received.last(), 0);
    EXPECT_EQ(testing_support::readFile(target), pattern(40000));
    EXPECT_EQ(folderNames(dir / "updates"), std::vector<std::string>{"a.bin"});
    EXPECT_EQ(server.Agents(), std::vector<std::string>{"Tavrel FIG"});
}

TEST(TFindWebThread, RedirectIsFollowedAndItsTargetRead) {
    testing_support::TempDir dir;
    UpdateTestServer server(dir.path(), R"({
        "/programs/updates/a.bin": {"status": 302, "location": "/moved/a.bin", "body": "old"},
        "/moved/a.bin": {"body": "the new file"},
        "/loop": {"status": 302, "location": "/loop"}})");
    const Transfer run = fetch(server.Url("/programs/updates/a.bin"), dir / "a.bin");
    EXPECT_TRUE(run.statuses.contains("Ответ сервера: 200"));
    EXPECT_TRUE(run.events.contains("completed"));
    EXPECT_EQ(testing_support::readFile(dir / "a.bin"), "the new file");

    // A redirect that never ends is followed only so far.
    const Transfer loop = fetch(server.Url("/loop"), dir / "loop");
    EXPECT_TRUE(loop.ended);
    EXPECT_EQ(loop.events.last(), "failed");
    EXPECT_FALSE(fs::exists(dir / "loop"));
    EXPECT_LE(server.Requests().size(), 3u + 6u);
}

struct FailureCase {
    const char* name;
    const char* reply;
    // The statuses that end the run, the last first.
    QStringList lastStatuses;
};

// Each failure writes nothing, keeps an older complete file, leaves no temporary file,
// tells the window, and ends within the stall bound.
TEST(TFindWebThread, FailuresWriteNothingAndEnd) {
    const FailureCase cases[] = {
        {"not found", R"({"status": 404, "body": "no"})", {"Выполнено", "Cannot open URL"}},
        {"server error", R"({"status": 500, "body": "no"})", {"Выполнено", "Cannot open URL"}},
        {"no length", R"({"body": "abc", "length": null})", {"Запрашиваем размер файла"}},
        {"length not a number",
         R"({"body": "abc", "length": "12abc"})",
         {"Запрашиваем размер файла"}},
        {"above the bound",
         R"({"body": "abc", "length": "600000000"})",
         {"Выполнено", "Файл слишком велик"}},
        {"cut short",
         R"({"body": {"size": 5000}, "send": 3000})",
         {"Выполнено", "Загрузка прервана", "5000/3000"}},
        {"stalled",
         R"({"body": {"size": 5000}, "send": 3000, "then": "stall"})",
         {"Выполнено", "Загрузка прервана", "5000/3000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir dir;
        UpdateTestServer server(dir.path(),
                                std::string(R"({"/programs/updates/a.bin": )") + c.reply + "}");
        fs::create_directories(dir / "updates");
        testing_support::writeFile(dir / "updates" / "a.bin", "older");
        const Transfer run =
            fetch(server.Url("/programs/updates/a.bin"), dir / "updates" / "a.bin");
        ASSERT_TRUE(run.ended);
        EXPECT_LT(run.milliseconds, 10000);
        EXPECT_EQ(run.events.last(), "failed");
        EXPECT_FALSE(run.events.contains("completed"));
        QStringList last = run.statuses.mid(run.statuses.size() - c.lastStatuses.size());
        std::reverse(last.begin(), last.end());
        EXPECT_EQ(last, c.lastStatuses);
        EXPECT_EQ(testing_support::readFile(dir / "updates" / "a.bin"), "older");
        EXPECT_EQ(folderNames(dir / "updates"), std::vector<std::string>{"a.bin"});
    }
}

// A server that is gone, and a listener that never answers.
TEST(TFindWebThread, UnreachableServerCannotOpenTheUrl) {
    testing_support::TempDir dir;
    std::string gone;
    {
        UpdateTestServer server(dir.path(), "{}");
        gone = server.Url("/programs/updates/update.upd");
    }
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const std::string mute =
        "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/programs/updates/update.upd";
    for (const std::string& url : {gone, mute}) {
        SCOPED_TRACE(url);
        const Transfer run = fetch(url, dir / "update.upd");
        EXPECT_EQ(run.statuses,
                  QStringList({"Соединяемся с Tavrel Update...", "Откратие Url...",
                               QString::fromStdString("Cannot open URL: " + url), "Выполнено"}));
        EXPECT_EQ(run.events.last(), "failed");
        EXPECT_LT(run.milliseconds, 10000);
        EXPECT_FALSE(fs::exists(dir / "update.upd"));
    }
}

TEST(TFindWebThread, HttpsChecksTheCertificate) {
    testing_support::TempDir dir;
    const auto certificates = update_testing::MakeTestCertificates(dir.path());
    if (!certificates) GTEST_SKIP() << "openssl could not make a test authority";
    UpdateTestServer server(
        dir.path(), R"({"/programs/updates/update.upd": {"body": "a\r\nb\r\n"}})", &*certificates);
    const std::string url = server.Url("/programs/updates/update.upd");
    ASSERT_EQ(url.rfind("https://", 0), 0u);

    const Transfer trusted = fetch(url, dir / "update.upd", testSettings(certificates->caFile));
    EXPECT_TRUE(trusted.events.contains("completed"));
    EXPECT_EQ(testing_support::readFile(dir / "update.upd"), "a\r\nb\r\n");

    // The system's authorities do not know the test's.
    const Transfer untrusted = fetch(url, dir / "other.upd");
    EXPECT_TRUE(untrusted.statuses.contains(QString::fromStdString("Cannot open URL: " + url)));
    EXPECT_FALSE(fs::exists(dir / "other.upd"));
}

}  // namespace
