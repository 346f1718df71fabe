// The program entry: one copy per user. A second copy hands over to the first (shows
// and raises its window) and ends; the first creates its windows and runs the event loop
// until the main window closes, by the user, another process or a stop signal.
#include <QApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <optional>

#include "platform/message_window.h"
#include "platform/named_lock.h"
#include "platform/stop_signals.h"
#include "player/app/single_copy.h"
#include "player/desktop/media_player_service.h"
#include "player/engine/audio_object.h"
#include "player/main_window_life.h"
#include "player/ui/about_window.h"
#include "player/ui/application_icon.h"
#include "player/ui/dialog_language.h"
#include "player/ui/effects_window.h"
#include "player/ui/main_window.h"
#include "player/ui/settings_dialog.h"
#include "player/ui/song_search_window.h"
#include "player/ui/tag_editor_window.h"
#include "player/update/update_window.h"
#include "player/vis/vis_window.h"

namespace {

// The current folder changes during start-up, so a relative file name is fixed first.
QStringList absoluteArguments(QStringList arguments) {
    if (!arguments.isEmpty() && !arguments[0].contains(QStringLiteral("://")))
        arguments[0] = QFileInfo(arguments[0]).absoluteFilePath();
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    // A write past the file-size limit then fails with EFBIG like any failed write,
    // instead of ending the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);
    // Before any thread starts, so that every thread leaves these signals to the loop.
    std::optional<platform::StopSignals> stopSignals;
    try {
        stopSignals.emplace();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorvan: %s\n", e.what());
    }
    std::optional<platform::NamedLock> oneCopy;
    try {
        oneCopy.emplace("OneCopyMutex");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorvan: %s\n", e.what());
    }
    if (oneCopy && !oneCopy->tryAcquire()) {
        handOverToRunningCopy(platform::currentProgramPath());
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvan"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zorvan"));
    // Ties the windows to the desktop entry, for the desktop's icon and window grouping.
    QApplication::setDesktopFileName(QStringLiteral("zorvan"));
    QApplication::setWindowIcon(applicationIcon());
    dialog_language::InstallRussian(app);

    TForm1 form;
    MainWindowLife life(form);
    // The system asking the program to end closes the main window like the user would;
    // during start-up (an error box may be up) it ends the program without saving.
    bool created = false;
    std::optional<QSocketNotifier> stopNotifier;
    if (stopSignals) {
        stopNotifier.emplace(stopSignals->fd(), QSocketNotifier::Read);
        QObject::connect(&*stopNotifier, &QSocketNotifier::activated, &form, [&] {
            if (stopSignals->take() == 0) return;
            if (created)
                form.close();
            else
                QCoreApplication::exit(1);
        });
    }
    if (!life.FormCreate(absoluteArguments(QApplication::arguments().mid(1)))) return 1;
    form.Form5->FormCreate();
    created = true;
    MediaPlayerService mediaPlayer(form, life);
    // The other windows follow the main window, hidden until asked for.
    TForm4 visualisation(&form);
    form.AttachVisWindow(&visualisation);
    TForm2 update(UpdateOptions::stored(), &form);
    form.UpdateWindow = &update;
    TForm6 tagEditor(form);
    form.Form6 = &tagEditor;
    TForm7 songSearch(*AudioObject);
    form.Form7 = &songSearch;
    TForm8 form8(form);
    QObject::connect(&life, &MainWindowLife::closeSettingsNeeded, &form8,
                     &TForm8::StoreTrayOptions);
    TForm9 about(&form);
    form.AboutWindow = &about;
    about.SetUpdateWindow(&update);
    form.show();
    return app.exec();
}
