#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <atomic>
#include <thread>

#include "platform/message_window.h"
#include "player/app/single_copy.h"
#include "player/ui/window_message_bridge.h"
#include "testing/child_process.h"

using testing_support::ChildProcess;

namespace {

const std::string kPeer = std::string(ZORVAN_BINARY_DIR) + "/bin/window_peer";

// Runs a window_peer command while the event loop serves the bridge, and returns the
// line it printed.
std::string runPeer(const std::vector<std::string>& args) {
    std::vector<std::string> argv{kPeer};
    argv.insert(argv.end(), args.begin(), args.end());
    ChildProcess peer(argv);
    std::optional<std::string> line;
    std::thread reader([&] { line = peer.readLine(); });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!line && std::chrono::steady_clock::now() < until) QTest::qWait(10);
    reader.join();
    return line.value_or("timeout");
}

class Bridge : public ::testing::Test {
protected:
    QWidget window;
    WindowMessageBridge bridge{&window, "TForm1", "Tavrel"};
    QStringList paths;
    void SetUp() override {
        QObject::connect(&bridge, &WindowMessageBridge::pathArrived,
                         [this](const QString& p) { paths << p; });
    }
};

}  // namespace

TEST_F(Bridge, CopyDataFromAnotherProcessArrivesAsAWholePath) {
    window.show();
    const std::string longPath =
        "/music/" + std::string(150, 'a') + "/\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3";
    EXPECT_EQ(runPeer({"send", "Tavrel", longPath}), "1");
    ASSERT_EQ(paths.size(), 1);
    EXPECT_EQ(paths[0], QString::fromStdString(longPath));
    EXPECT_EQ(runPeer({"send", "Tavrel", ""}), "0") << "an empty block is refused";
    EXPECT_EQ(paths.size(), 1);
}

TEST_F(Bridge, CopyDataTextIsCutAtNulAndReadAsWindows1251WhenNotUtf8) {
    EXPECT_EQ(WindowMessageBridge::pathFromCopyData(std::string_view("/a.mp3\0junk", 11)),
              "/a.mp3");
    EXPECT_EQ(WindowMessageBridge::pathFromCopyData("/\xCF\xE5\xF1\xED\xFF.mp3"),
              QString::fromUtf8("/Песня.mp3"));
    EXPECT_FALSE(WindowMessageBridge::pathFromCopyData(std::string_view("\0/a", 3)));
}

TEST_F(Bridge, RegistrationFollowsVisibilityAndUserMessageShowsTheWindow) {
    EXPECT_FALSE(bridge.registration().identity().visible);
    window.show();
    EXPECT_TRUE(bridge.registration().identity().visible);
    window.hide();
    EXPECT_FALSE(bridge.registration().identity().visible);
    EXPECT_EQ(runPeer({"post", "Tavrel", "1024"}), "ok");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }));
    EXPECT_EQ(runPeer({"post", "Tavrel", "16"}), "ok");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); })) << "WM_CLOSE closes";
}

TEST_F(Bridge, SecondCopyShowsAHiddenFirstCopyOnlyWhenItIsTheSameProgram) {
    // The second copy runs on a thread while the event loop serves the first.
    auto handOver = [](const std::string& path) {
        std::atomic<int> result{-1};
        std::thread second([&] { result = handOverToRunningCopy(path) ? 1 : 0; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return result >= 0; }, 10000));
        second.join();
        return result.load();
    };
    EXPECT_EQ(handOver("/some/other/program"), 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(handOver(platform::currentProgramPath()), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }));
}
