#pragma once
// The update wizard "Провека обновлений": page 0 asks for a folder, page 1 fetches the
// update list from the server and then the ticked files, one transfer thread at a time,
// into "updates" in the program's folder; page 2 says what to do with them, page 3 that
// there is no connection. Created hidden, shown (not modal) from the menus and the About
// window. The wizard never installs anything.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <filesystem>
#include <functional>

#include "player/update/busy_animation.h"
#include "player/update/find_web_thread.h"

struct UpdateOptions {
    // The server's base address, such as "https://host".
    QString server;
    // The program's folder; the files go to its "updates" folder.
    std::filesystem::path folder;
    WebTransferSettings transfer;
    // The connected state; the system's when empty.
    std::function<bool()> connected;

    // The program's: the server from the settings ("UpdateServer" in "Main", else
    // update_server::kDefault), the program's folder, the agent "Tavrel FIG".
    static UpdateOptions stored();
};

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(UpdateOptions options, QWidget* parent = nullptr);
    // A transfer still running is cancelled and waited for.
    ~TForm2() override;

    void SetStatus(const QString& text);
    void DownloadNextUpdate();

    void NextBtnClick();
    void BackBtnClick();
    void Button1Click();     // "Выбрать"
    void CheckExecute();     // "Проверить"
    void DownloadExecute();  // "Загрузить"

    bool ListMode = false;
    int WizardStep = 0;

    QLabel* Image1;
    QStackedWidget* PageControl1;
    QLineEdit* Edit1;  // the folder
    QPushButton* Button1;
    QLabel* Label5;  // the message line
    QLabel* Label6;  // the file line
    QProgressBar* Gauge1;
    QListWidget* CheckListBox1;
    BusyAnimation* Animate1;
    QPushButton* BackBtn;
    QPushButton* NextBtn;
    QPushButton* CancelBtn;
    QLabel* StatusBar1;
    QAction* actCheck;
    QAction* actDownload;

    static const QString kReady;

public slots:
    // Closes unless a transfer keeps "Свалить" disabled.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void startTransfer(const QString& url, const std::filesystem::path& target);
    void transferStatus(const QString& text, qint64 received, qint64 size);
    void transferCompleted();
    void transferFailed();
    void showCheckList();
    std::filesystem::path updatesFolder() const;

    UpdateOptions options_;
    QPointer<TFindWebThread> transfer_;
};
