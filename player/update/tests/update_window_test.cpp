// The wizard against a loopback update server: which files a run fetches, the page and
// button rules, failures that leave the wizard closable, and the offline page.
#include "player/update/update_window.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "player/app/program_folder.h"
#include "player/app/settings_store.h"
#include "player/update/network_state.h"
#include "player/update/tests/update_test_server.h"
#include "testing/child_process.h"
#include "testing/modal_window.h"
#include "testing/temp_dir.h"

namespace {

using update_testing::UpdateTestServer;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

using testing_support::whenShown;

// Answers the next message box with `button` and keeps its text.
std::shared_ptr<QString> answerMessage(QMessageBox::StandardButton button = QMessageBox::Ok) {
    auto text = std::make_shared<QString>();
    whenShown<QMessageBox>([text, button](QMessageBox* box) {
        *text = box->text();
        box->button(button)->click();
    });
    return text;
}

Names folderNames(const fs::path& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class UpdateWindowTest : public ::testing::Test {
protected:
    // A server whose list is `list` and which serves `files` (name → body).
    void serve(const std::string& list,
               const std::vector<std::pair<std::string, std::string>>& files = {},
               const std::string& listReply = {}) {
        std::string paths = "{\"/programs/updates/update.upd\": ";
        paths += listReply.empty() ? "{\"body\": \"" + list + "\"}" : listReply;
        for (const auto& [name, body] : files)
            paths += ", \"/programs/updates/" + name + "\": {\"body\": \"" + body + "\"}";
        server_ = std::make_unique<UpdateTestServer>(serverDir_.path(), paths + "}");
        UpdateOptions options;
        options.server = QString::fromStdString(server_->Base());
        options.folder = program();
        options.transfer.agent = "Tavrel FIG";
        options.transfer.stallTimeout = std::chrono::seconds(2);
        options.connected = [] { return true; };
        form_ = std::make_unique<TForm2>(options);
        form_->show();
        fs::create_directories(program() / "Update");
    }

    fs::path program() const { return programDir_ / "Zorvan"; }
    fs::path updates() const { return program() / "updates"; }

    // Pages 0 → 1 → the list fetched.
    void fetchList() {
        form_->NextBtnClick();
        ASSERT_EQ(form_->PageControl1->currentIndex(), 1);
        form_->NextBtnClick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form_->CancelBtn->isEnabled(); }, 10000));
    }

    void tick(std::initializer_list<int> rows) {
        for (int row : rows) form_->CheckListBox1->item(row)->setCheckState(Qt::Checked);
    }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < form_->CheckListBox1->count(); ++i)
            names << form_->CheckListBox1->item(i)->text();
        return names;
    }

    bool waitForMessage(const QString& text) {
        return QTest::qWaitFor([&] { return form_->Label5->text() == text; }, 15000);
    }

    testing_support::TempDir serverDir_;
    testing_support::TempDir programDir_;
    std::unique_ptr<UpdateTestServer> server_;
    std::unique_ptr<TForm2> form_;
};

const QString kLoaded = QStringLiteral("Обновления загружены нажмите Далее");

TEST_F(UpdateWindowTest, TickedFilesAreFetchedInListOrder) {
    serve("a.bin\\r\\nb.bin\\r\\nc.bin\\r\\n",
          {{"a.bin", "first"}, {"b.bin", "second"}, {"c.bin", "third"}});
    EXPECT_EQ(form_->windowTitle(), "Провека обновлений");
    EXPECT_EQ(form_->size(), QSize(458, 247));
    fetchList();
    EXPECT_EQ(form_->Label5->text(), "Доступны следующие обновления:");
    EXPECT_EQ(listed(), QStringList({"a.bin", "b.bin", "c.bin"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form_->CheckListBox1->item(i)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(form_->NextBtn->isEnabled());
    EXPECT_FALSE(form_->BackBtn->isEnabled());

    tick({0, 2});
    form_->NextBtnClick();
    // The animation stands in for the list while files download.
    EXPECT_TRUE(form_->Animate1->isVisible());
    EXPECT_TRUE(form_->Animate1->active());
    EXPECT_FALSE(form_->CheckListBox1->isVisible());
    EXPECT_FALSE(form_->CancelBtn->isEnabled());
    ASSERT_TRUE(waitForMessage(kLoaded));

    EXPECT_EQ(server_->Requests(), Names({"/programs/updates/update.upd", "/programs/updates/a.bin",
                                          "/programs/updates/c.bin"}));
    EXPECT_EQ(folderNames(updates()), Names({"a.bin", "c.bin", "update.upd"}));
    EXPECT_EQ(testing_support::readFile(updates() / "c.bin"), "third");
    EXPECT_EQ(form_->CheckListBox1->count(), 0);
    EXPECT_TRUE(form_->CheckListBox1->isVisible());
    EXPECT_FALSE(form_->Animate1->active());
    EXPECT_EQ(form_->Label6->text(), "Загрузка файла: \\updates\\c.bin");
    EXPECT_TRUE(form_->CancelBtn->isEnabled());

    form_->NextBtnClick();
    EXPECT_EQ(form_->PageControl1->currentIndex(), 2);
    EXPECT_EQ(form_->NextBtn->text(), "Finish");
    form_->NextBtnClick();
    EXPECT_FALSE(form_->isVisible());
}

TEST_F(UpdateWindowTest, NothingTickedEndsWithoutTransfer) {
    serve("a.bin\\r\\nb.bin\\r\\n", {{"a.bin", "x"}});
    fetchList();
    form_->NextBtnClick();
    ASSERT_TRUE(waitForMessage(kLoaded));
    EXPECT_EQ(server_->Requests(), Names({"/programs/updates/update.upd"}));
    EXPECT_EQ(folderNames(updates()), Names({"update.upd"}));
}

TEST_F(UpdateWindowTest, EmptyListHasTheLatestVersion) {
    serve("");
    fetchList();
    EXPECT_EQ(form_->CheckListBox1->count(), 0);
    const auto text = answerMessage();
    form_->NextBtnClick();
    EXPECT_EQ(*text, "Вы имеете самую последнюю версию программы и её компонентов!");
    EXPECT_FALSE(form_->NextBtn->isEnabled());
    EXPECT_FALSE(form_->BackBtn->isEnabled());
    EXPECT_TRUE(form_->CancelBtn->isEnabled());
    // Closing and showing again starts a new run.
    form_->CancelBtn->click();
    EXPECT_FALSE(form_->isVisible());
    form_->show();
    EXPECT_EQ(form_->PageControl1->currentIndex(), 0);
    EXPECT_EQ(form_->WizardStep, 0);
    EXPECT_TRUE(form_->NextBtn->isEnabled());
    EXPECT_EQ(form_->NextBtn->text(), "Далее >>");
}

// Names that could leave "updates" are shown, refused and never asked for.
TEST_F(UpdateWindowTest, HostileNamesWriteNothingOutsideUpdates) {
    const std::string longName(1000, 'n');
    serve("../x\\r\\n/etc/x\\r\\na/b\\r\\n.\\r\\n..\\r\\n" + longName +
              "\\r\\nc\\u0001d\\r\\ngood.bin\\r\\n",
          {{"good.bin", "fine"}});
    fetchList();
    EXPECT_EQ(form_->CheckListBox1->count(), 8);
    tick({0, 1, 2, 3, 4, 5, 6, 7});
    form_->NextBtnClick();
    ASSERT_TRUE(waitForMessage(kLoaded));
    EXPECT_EQ(server_->Requests(),
              Names({"/programs/updates/update.upd", "/programs/updates/good.bin"}));
    EXPECT_EQ(folderNames(updates()), Names({"good.bin", "update.upd"}));
    EXPECT_EQ(folderNames(program()), Names({"Update", "updates"}));
    EXPECT_EQ(folderNames(programDir_.path()), Names({"Zorvan"}));
}

TEST_F(UpdateWindowTest, FailedListLeavesTheWizardClosable) {
    serve("", {}, R"({"status": 404, "body": "gone"})");
    fetchList();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form_->StatusBar1->text() == "Выполнено"; }, 5000));
    EXPECT_FALSE(form_->NextBtn->isEnabled());
    EXPECT_FALSE(form_->BackBtn->isEnabled());
    EXPECT_EQ(folderNames(updates()), Names{});
    form_->CancelBtn->click();
    EXPECT_FALSE(form_->isVisible());
}

TEST_F(UpdateWindowTest, FailedFileStopsTheRunAndTheWizardCanClose) {
    serve("a.bin\\r\\nb.bin\\r\\n", {{"b.bin", "x"}});
    fetchList();
    tick({0, 1});
    form_->NextBtnClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->CancelBtn->isEnabled(); }, 10000));
    EXPECT_FALSE(form_->Animate1->active());
    EXPECT_EQ(listed(), QStringList({"b.bin"}));
    EXPECT_EQ(server_->Requests(),
              Names({"/programs/updates/update.upd", "/programs/updates/a.bin"}));
    EXPECT_EQ(folderNames(updates()), Names({"update.upd"}));
}

TEST_F(UpdateWindowTest, EscapeWaitsWhileATransferRuns) {
    serve("", {}, R"({"body": "a.bin", "length": "100", "then": "stall"})");
    form_->NextBtnClick();
    form_->NextBtnClick();
    form_->reject();
    EXPECT_TRUE(form_->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->CancelBtn->isEnabled(); }, 10000));
    EXPECT_EQ(form_->StatusBar1->text(), "Выполнено");
    form_->reject();
    EXPECT_FALSE(form_->isVisible());
    // Closing resets the run.
    EXPECT_EQ(form_->Label5->text(), TForm2::kReady);
    EXPECT_TRUE(form_->actCheck->isEnabled());
    EXPECT_FALSE(form_->actDownload->isEnabled());
}

// The program ending during a transfer cancels it at once instead of waiting it out.
TEST_F(UpdateWindowTest, ClosingTheProgramEndsARunningTransfer) {
    serve("", {}, R"({"body": "a.bin", "length": "100", "then": "stall"})");
    form_.reset();
    UpdateOptions options;
    options.server = QString::fromStdString(server_->Base());
    options.folder = program();
    options.transfer.stallTimeout = std::chrono::seconds(60);
    options.connected = [] { return true; };
    form_ = std::make_unique<TForm2>(options);
    form_->show();
    form_->NextBtnClick();
    form_->NextBtnClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->StatusBar1->text() == "100/5"; }, 5000));
    QElapsedTimer clock;
    clock.start();
    form_.reset();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(folderNames(updates()), Names{});
}

TEST_F(UpdateWindowTest, BackAndNextPageRules) {
    serve("a.bin\\r\\n");
    form_->BackBtnClick();
    EXPECT_EQ(form_->PageControl1->currentIndex(), 0);
    EXPECT_EQ(form_->WizardStep, 0);
    EXPECT_EQ(form_->Edit1->text().toStdString(), (program() / "Update").string());

    // The folder browser starts at the field's folder and puts the chosen one there.
    const fs::path picked = programDir_ / "picked";
    fs::create_directories(picked);
    auto title = std::make_shared<QString>();
    auto start = std::make_shared<QString>();
    whenShown<QFileDialog>([=](QFileDialog* dialog) {
        *title = dialog->windowTitle();
        *start = dialog->directory().absolutePath();
        dialog->setDirectory(QString::fromStdString(picked.string()));
        static_cast<QDialog*>(dialog)->accept();
    });
    form_->Button1Click();
    EXPECT_EQ(*title, "Download Location");
    EXPECT_EQ(start->toStdString(), (program() / "Update").string());
    EXPECT_EQ(form_->Edit1->text().toStdString(), picked.string());

    form_->Edit1->clear();
    const auto empty = answerMessage();
    form_->NextBtnClick();
    EXPECT_EQ(*empty, "Выбирете папку для сохранения");
    EXPECT_EQ(form_->PageControl1->currentIndex(), 0);

    const fs::path chosen = programDir_ / "chosen";
    form_->Edit1->setText(QString::fromStdString(chosen.string()));
    const auto no = answerMessage(QMessageBox::No);
    form_->NextBtnClick();
    EXPECT_EQ(*no, "Папка не существует! Хотите создать?");
    EXPECT_EQ(form_->PageControl1->currentIndex(), 0);
    EXPECT_FALSE(fs::exists(chosen));

    answerMessage(QMessageBox::Yes);
    form_->NextBtnClick();
    EXPECT_TRUE(fs::is_directory(chosen));
    EXPECT_EQ(form_->PageControl1->currentIndex(), 1);
    EXPECT_EQ(form_->WizardStep, 1);
    form_->BackBtnClick();
    EXPECT_EQ(form_->PageControl1->currentIndex(), 0);
    EXPECT_EQ(form_->WizardStep, 0);
}

// The program's options: the server from the settings file, else the default.
TEST(UpdateOptions, ServerFromTheSettings) {
    const auto ini = SettingsStore::defaultPath();
    fs::remove(ini);
    UpdateOptions options = UpdateOptions::stored();
    EXPECT_EQ(options.server, "https://tavrel.example");
    EXPECT_EQ(options.folder, programDataFolder());
    EXPECT_EQ(options.transfer.agent, "Tavrel FIG");
    EXPECT_TRUE(options.transfer.caFile.empty());
    for (const char* server : {"http://127.0.0.1:8080", "https://updates.tavrel.example"}) {
        testing_support::writeFile(ini, std::string("[Main]\r\nUpdateServer = ") + server + "\r\n");
        EXPECT_EQ(UpdateOptions::stored().server, server);
    }
    testing_support::writeFile(ini, "[Main]\r\nUpdateServer=\r\n");
    EXPECT_EQ(UpdateOptions::stored().server, "https://tavrel.example");
    fs::remove(ini);
}

// Inside a network namespace without interfaces the computer is not connected; the
// test runs itself there through `unshare -rn` where the system allows it.
TEST(UpdateWindowOfflineTest, OfflinePageInANamespaceWithoutNetwork) {
    if (std::getenv("ZORVAN_EMPTY_NETNS")) {
        ASSERT_FALSE(network_state::isConnected());
        testing_support::TempDir dir;
        UpdateOptions options;
        options.server = "http://127.0.0.1:9";
        options.folder = dir.path();
        fs::create_directories(dir / "Update");
        TForm2 form(options);
        form.show();
        form.NextBtnClick();
        form.NextBtnClick();
        EXPECT_EQ(form.PageControl1->currentIndex(), 3);
        EXPECT_EQ(form.NextBtn->text(), "Finish");
        EXPECT_TRUE(form.NextBtn->isEnabled());
        EXPECT_FALSE(form.BackBtn->isEnabled());
        EXPECT_FALSE(fs::exists(dir / "updates"));
        form.NextBtnClick();
        EXPECT_FALSE(form.isVisible());
        return;
    }
    const char* unshare = "/usr/bin/unshare";
    {
        testing_support::ChildProcess probe({unshare, "-rn", "/bin/true"});
        const auto status = probe.wait();
        if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
            GTEST_SKIP() << "no network namespace here";
    }
    testing_support::ChildProcess child(
        {unshare, "-rn", fs::read_symlink("/proc/self/exe").string(),
         "--gtest_filter=UpdateWindowOfflineTest.OfflinePageInANamespaceWithoutNetwork"},
        {"ZORVAN_EMPTY_NETNS=1"});
    std::string output;
    while (const auto line = child.readLine(std::chrono::seconds(30))) output += *line + "\n";
    const auto status = child.wait(std::chrono::seconds(30));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

}  // namespace
