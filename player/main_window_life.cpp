#include "player/main_window_life.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <cstdio>

#include "platform/file_io.h"
#include "platform/replacement_file.h"
#include "player/app/program_folder.h"
#include "player/app/single_copy.h"
#include "player/engine/audio_object.h"
#include "player/ui/effects_window.h"
#include "player/ui/equalizer_presets.h"
#include "player/ui/main_window.h"
#include "player/ui/register_shell_integration.h"
#include "player/ui/save_failure_box.h"
#include "player/ui/startup_error.h"
#include "player/ui/window_message_bridge.h"
#include "soundlib/soundlib.h"

MainWindowLife::MainWindowLife(TForm1& form) : form_(form) {}

MainWindowLife::~MainWindowLife() {
    delete bridge_;
    form_.removeEventFilter(this);
    AudioObject = nullptr;
    audio_.reset();
    if (soundStarted_) BASS_Free();
}

bool MainWindowLife::FormCreate(const QStringList& arguments) {
    store_ = std::make_unique<SettingsStore>();
    settings_.main = SavedSettings::readMain(*store_);
    if (settings_.main.firstRun == 1) {
        try {
            RegisterShellIntegration(platform::currentProgramPath());
        } catch (const platform::RegistryError& e) {
            // Reported, and the start goes on: the player works without the desktop's help.
            std::fprintf(stderr, "Error: %s\n", e.what());
            QMessageBox(QMessageBox::Critical, QStringLiteral("Error"), QString::fromUtf8(e.what()),
                        QMessageBox::Ok, &form_)
                .exec();
        }
    }

    form_.CoolTrayIcon1->SetIcon(QApplication::windowIcon());

    folder_ = programDataFolder();
    // Saves cut short by a crash or a kill leave replacement files behind. Only this one
    // copy of the program writes these files, so any there now are stale.
    for (const auto& kept : {folder_ / "Default.pls", folder_ / "Default.pls.new",
                             folder_ / "AllMusik.aml", SettingsStore::defaultPath()})
        platform::removeStaleReplacements(kept);
    audio_ = std::make_unique<TAudioObject>(form_, folder_ / "AllMusik.aml");
    AudioObject = audio_.get();
    form_.UpdateEqualizerHints();
    form_.ReapplyEqualizerBands();

    // A failed start ends the program without writing anything back.
    closed_ = true;
    if (BASS_GetVersion() != 2) {
        showStartupError(&form_, QStringLiteral("BASS version 2.0 was not loaded"),
                         BASS_ErrorGetCode());
        return false;
    }
    if (!BASS_Init(1, 44100, 4, nullptr, nullptr)) {
        showStartupError(&form_, QStringLiteral("Can't initialize device"), BASS_ErrorGetCode());
        return false;
    }
    BASS_Start();
    soundStarted_ = true;
    closed_ = false;

    form_.SavedVolume = settings_.main.volume;
    form_.TrackBar1->setValue(settings_.main.volume);
    form_.TrackBar11->setValue(settings_.main.eqDepth);
    form_.CoolTrayIcon1->SetIconVisible(settings_.main.showTrayIcon);
    audio_->ShowInfoInTray = settings_.main.showInfoInTray;
    form_.CoolTrayIcon1->LeftPopup = settings_.main.leftPopUp;
    audio_->PlayState = TransportState::NotReady;
    form_.SoundOn = true;
    form_.ColorIndex = 0;
    form_.setAcceptDrops(true);
    form_.installEventFilter(this);

    QDir::setCurrent(QFile::decodeName(folder_.c_str()));
    const auto saved = folder_ / "Default.pls";
    if (std::filesystem::exists(saved)) {
        audio_->LoadPlaylistFile(QFile::decodeName(saved.c_str()), true);
        form_.RefreshPlaylistView();
    }
    form_.CheckBox1->setChecked(settings_.main.equalizerOn);
    form_.ApplyEqualizerPreset(settings_.main.equalizerPreset);
    audio_->BuildLibraryMenus();
    form_.BuildCdDriveItems();
    if (!arguments.isEmpty()) AddFiles({arguments.first()});

    try {
        bridge_ = new WindowMessageBridge(&form_, QString(kMainWindowClass.data()),
                                          QString(kMainWindowCaption.data()));
        connect(bridge_, &WindowMessageBridge::pathArrived, this,
                [this](const QString& path) { AddFiles({path}); });
    } catch (const std::exception& e) {
        // The player still works; only other processes cannot reach it.
        std::fprintf(stderr, "zorvan: %s\n", e.what());
    }
    return true;
}

void MainWindowLife::AddFiles(const QStringList& files) {
    audio_->AddSources(files);
    form_.RefreshPlaylistView();
}

void MainWindowLife::FormClose() {
    if (closed_) return;
    closed_ = true;
    settings_.main.volume = form_.TrackBar1->value();
    settings_.main.eqDepth = form_.TrackBar11->value();
    settings_.main.equalizerOn = form_.CheckBox1->isChecked();
    settings_.main.equalizerPreset = equalizer::PresetIndex(form_.Label37->text());
    const auto switches = form_.EffectSwitches();
    for (std::size_t i = 0; i < switches.size(); ++i) {
        settings_.effects[i].on = switches[i]->isChecked();
        settings_.effects[i].parameters = form_.Form5->Positions(i);
    }
    emit closeSettingsNeeded(settings_);
    settings_.write(*store_);
    QStringList unsaved;
    if (!saveDefaultPlaylist())
        unsaved << QString::fromStdString((folder_ / "Default.pls").string());
    if (!store_->close()) unsaved << QString::fromStdString(store_->path().string());
    if (!unsaved.isEmpty()) ShowSaveFailureAtClose(&form_, unsaved, kSaveFailureSeconds);
    // The program ends with its main window, also when that was hidden in the tray or
    // another window (the settings dialog) is still open.
    QCoreApplication::quit();
}

bool MainWindowLife::saveDefaultPlaylist() {
    // The saved list is written whole and replaces the old file in one rename: a crash or
    // a full disk leaves the old list or the new one, and no entry of a longer old list.
    return platform::writeFileAtomically(folder_ / "Default.pls", audio_->Playlist.PlsText());
}

bool MainWindowLife::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &form_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Close:
            if (audio_ && audio_->Adding()) {
                // The add ends early, what it added stays, and the window closes after it.
                audio_->StopAdding();
                audio_->AfterAdding([this] { form_.close(); });
                event->ignore();
                return true;
            }
            FormClose();
            break;
        case QEvent::DragEnter: {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList files;
            for (const QUrl& url : drop->mimeData()->urls()) {
                if (url.isLocalFile()) files << url.toLocalFile();
            }
            if (!files.isEmpty()) AddFiles(files);
            drop->acceptProposedAction();
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
