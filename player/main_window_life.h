#pragma once
// The life of the main window around its controls: what it does when it is created
// (settings read, sound library started, saved playlist loaded, the command-line file
// played), how files reach it while it runs (dropped on it, or sent by another process)
// and what it writes back when it closes. It owns the settings store, the audio object
// and the window's registration for other processes; its destruction frees the sound
// library.
#include <QObject>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "player/app/saved_settings.h"
#include "player/app/settings_store.h"

class TAudioObject;
class TForm1;
class WindowMessageBridge;

class MainWindowLife : public QObject {
    Q_OBJECT
public:
    explicit MainWindowLife(TForm1& form);
    ~MainWindowLife() override;

    // The creation steps, in order. `arguments` is the command line without the program;
    // a relative file name in it must already be made absolute, since the current folder
    // becomes the program's data folder. False when the sound library could not start: the
    // error box has been shown, nothing was saved, and the program must end.
    bool FormCreate(const QStringList& arguments);
    // The close steps: every setting written, "Default.pls" replaced, the store closed.
    // Runs once, also when the window is closed by another process or the system. A close
    // asked for while files are being added stops the adding and happens at its end. Files
    // that could not be saved are named in one box, which closes itself after
    // kSaveFailureSeconds.
    void FormClose();
    static constexpr int kSaveFailureSeconds = 10;

    TAudioObject* Audio() const { return audio_.get(); }
    // The values read at start, which the close writes back; windows that own a setting
    // update theirs when closeSettingsNeeded is emitted.
    SavedSettings& Settings() { return settings_; }

    // Files dropped on the window or sent by another process: appended, the first new
    // one plays, and the playlist box is rebuilt.
    void AddFiles(const QStringList& files);

signals:
    void closeSettingsNeeded(SavedSettings& settings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool saveDefaultPlaylist();

    TForm1& form_;
    std::unique_ptr<SettingsStore> store_;
    SavedSettings settings_;
    std::unique_ptr<TAudioObject> audio_;
    std::filesystem::path folder_;
    WindowMessageBridge* bridge_ = nullptr;
    bool soundStarted_ = false;
    bool closed_ = false;
};
