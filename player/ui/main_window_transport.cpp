// The main window's transport: timers, seek and volume bars, the button bar and the
// menus that drive playback (the window's context menu, the tray menu).
#include <QApplication>
#include <QMessageBox>

#include "player/engine/audio_object.h"
#include "player/engine/play_state.h"
#include "player/engine/track_text.h"
#include "player/ui/dialog_filter.h"
#include "player/ui/main_window.h"
#include "player/ui/transport_rules.h"
#include "player/vis/vis_window.h"
#include "soundlib/soundlib.h"

namespace {

// The window colours the colour button steps through.
const QColor kWindowColors[] = {QColor(0x00, 0x00, 0xFF), QColor(0x00, 0xFF, 0x00),
                                QColor(0xFF, 0xFF, 0x00), QColor(0x00, 0x80, 0x00),
                                QColor(0xFF, 0x00, 0x00), QColor(0xA6, 0xCA, 0xF0)};

constexpr int kPlaylistHiddenWidth = 565;
constexpr int kPlaylistShownWidth = 840;

}  // namespace

void TForm1::CreateTimers() {
    const auto timer = [this](int ms, bool active) {
        auto* t = new QTimer(this);
        t->setInterval(ms);
        if (active) t->start();
        return t;
    };
    Timer1 = timer(250, true);
    Timer2 = timer(100, true);
    Timer3 = timer(50, false);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
}

void TForm1::BindTransport() {
    connect(TrackBarEx1, &TrackBarEx::MouseDown, this, &TForm1::TrackBarEx1MouseDown);
    connect(TrackBarEx1, &TrackBarEx::MouseMove, this, &TForm1::TrackBarEx1MouseMove);
    connect(TrackBarEx1, &TrackBarEx::MouseUp, this, &TForm1::TrackBarEx1MouseUp);
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
}

void TForm1::BindButtons() {
    for (TBitmapSkinPart* button :
         {BitmapSkinPart1, BitmapSkinPart2, BitmapSkinPart3, BitmapSkinPart4, BitmapSkinPart5,
          BitmapSkinPart6, BitmapSkinPart7, BitmapSkinPart8, BitmapSkinPart9, BitmapSkinPart10,
          BitmapSkinPart11})
        button->setEnabled(true);
    connect(BitmapSkinPart2, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart2MouseDown);
    connect(BitmapSkinPart2, &TMainSkin::Click, this, &TForm1::TogglePlayPause);
    connect(BitmapSkinPart2, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart2MouseUp);

    // Stop, previous and next: pressed and released glyphs, the command on a click.
    const auto step = [this](TBitmapSkinPart* button, const ImageList& glyphs, int released,
                             void (TForm1::*command)()) {
        connect(button, &TMainSkin::MouseDown, this,
                [=] { ShowGlyph(button, glyphs, released + 1); });
        connect(button, &TMainSkin::MouseUp, this, [=] { ShowGlyph(button, glyphs, released); });
        connect(button, &TMainSkin::Click, this, command);
    };
    step(BitmapSkinPart3, ImageList2, 0, &TForm1::StopPlayback);
    step(BitmapSkinPart5, ImageList3, 0, &TForm1::MenuPlayPrevious);
    step(BitmapSkinPart6, ImageList3, 2, &TForm1::MenuPlayNext);

    connect(BitmapSkinPart1, &TMainSkin::Click, this, &TForm1::BitmapSkinPart1Click);
    connect(BitmapSkinPart4, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart4MouseDown);
    connect(BitmapSkinPart4, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart4MouseUp);
    connect(BitmapSkinPart8, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart8MouseDown);
    connect(BitmapSkinPart8, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart8MouseUp);
    connect(BitmapSkinPart9, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart9MouseDown);
    connect(BitmapSkinPart9, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart9MouseUp);
    connect(BitmapSkinPart7, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart7MouseDown);
    connect(BitmapSkinPart7, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart7MouseUp);
    connect(BitmapSkinPart10, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart10MouseDown);
    connect(BitmapSkinPart10, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart10MouseUp);
    connect(BitmapSkinPart11, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart11MouseDown);
    connect(BitmapSkinPart11, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart11MouseUp);
}

void TForm1::CreateMenus() {
    const auto item = [this](QMenu* menu, const char* caption, auto handler,
                             const char* shortcut = nullptr) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        if (shortcut) {
            action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
            // The window's shortcuts work wherever the focus is in it.
            addAction(action);
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto player = [&](QMenu* menu, const char* playPause, const char* previous,
                            const char* next, bool shortcuts) {
        QMenu* sub = menu->addMenu(QStringLiteral("Плейер"));
        const auto key = [shortcuts](const char* k) { return shortcuts ? k : nullptr; };
        item(sub, playPause, &TForm1::TogglePlayPause, key("Ctrl+P"));
        item(sub, "Остановить", &TForm1::MenuStop, key("Ctrl+S"));
        if (shortcuts) {
            item(sub, previous, &TForm1::MenuPlayPrevious, key("Ctrl+B"));
            item(sub, next, &TForm1::MenuPlayNext, key("Ctrl+N"));
        } else {
            item(sub, next, &TForm1::MenuPlayNext);
            item(sub, previous, &TForm1::MenuPlayPrevious);
        }
        item(sub, "Перемотать вперед", [this] { SeekBy(10'000); });
        item(sub, "Перемотать назад", [this] { SeekBy(-10'000); });
    };

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setDefaultAction(
        item(PopupMenu2, "Показать окно", [this] { CoolTrayIcon1->RestoreMainWindow(); }));
    player(PopupMenu2, "Проиграть/Приостановить", "Предыдущая дорожка", "Следующая дорожка", false);
    ListCommands << item(PopupMenu2, "Загрузить файл...", &TForm1::OpenFilesCommand);
    item(PopupMenu2, "Настройки...", &TForm1::SettingsCommand);
    item(PopupMenu2, "Проверка обновлений...", &TForm1::ShowUpdateWindow);
    item(PopupMenu2, "О программе...", &TForm1::ShowAboutWindow);
    item(PopupMenu2, "Выход", &QWidget::close);
    item(PopupMenu2, "Спрятать окно", &TForm1::HideToTrayCommand);

    PopupMenu5 = new QMenu(this);
    item(PopupMenu5, "Спрятать в трей", &TForm1::HideToTrayCommand);
    ListCommands << item(PopupMenu5, "Открыть файл...", &TForm1::OpenFilesCommand, "Ctrl+O");
    player(PopupMenu5, "Проиграть/приостановить", "Предыдущая", "Следующая", true);
    item(PopupMenu5, "Справка",
         [this] { QMessageBox::information(this, windowTitle(), QStringLiteral("No help")); });
    item(PopupMenu5, "Настройки...", &TForm1::SettingsCommand);
    item(PopupMenu5, "О программе...", &TForm1::ShowAboutWindow);
    item(PopupMenu5, "Выход", &QWidget::close);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { PopupMenu5->popup(mapToGlobal(pos)); });

    CreatePopupMenu1();
    CreatePopupMenu4();
}

void TForm1::Timer1Timer() {
    Label24->setText(transport_rules::CpuLoadText(BASS_GetCPU()));
    if (!AudioObject) return;
    if (const auto status =
            transport_rules::StatusText(AudioObject->PlayState, AudioObject->Connecting()))
        Label2->setText(*status);
    // A source without a measurable length (a live stream) ends only when the sound
    // library says so; the seek bar's position means nothing for it.
    const bool ended =
        AudioObject->SeekLength >= 0
            ? transport_rules::TrackEnded(TrackBarEx1->value(), TrackBarEx1->maximum())
            : AudioObject->SourceEnded();
    if (ended) AudioObject->PlayNext();
    AudioObject->RefreshStreamInfo();
}

void TForm1::Timer2Timer() {
    const int position = AudioObject ? AudioObject->GetPosition() : 0;
    Label27->setText(track_text::LongTimeText(position));
    TrackBarEx1->setValue(position);
    const std::int32_t level = BASS_ChannelGetLevel(AudioObject ? AudioObject->Channel : 0);
    const auto word = [level](int shift) {
        return level == -1
                   ? 0
                   : static_cast<int>((static_cast<std::uint32_t>(level) >> shift) & 0xFFFF);
    };
    ProgressBar1->ShowLevel(word(16));
    ProgressBar2->ShowLevel(word(0));
}

void TForm1::TrackBarEx1MouseDown(Qt::MouseButton button) {
    SeekDragging = true;
    if (AudioObject && AudioObject->PlayState != TransportState::Seeking)
        PlayStateBeforeSeek = AudioObject->PlayState;
    if (button == Qt::LeftButton) Timer2->stop();
}

void TForm1::TrackBarEx1MouseMove(Qt::MouseButtons buttons) {
    if (!(buttons & Qt::LeftButton)) return;
    Label27->setText(track_text::LongTimeText(TrackBarEx1->value()));
    if (AudioObject) AudioObject->PlayState = TransportState::Seeking;
}

void TForm1::TrackBarEx1MouseUp(Qt::MouseButton) {
    SeekDragging = false;
    if (!AudioObject) return;
    if (!CdMode) {
        // Sound from the released position, so the state after it tells the truth.
        if (!AudioObject->PlayFrom(TrackBarEx1->value()))
            AudioObject->PlayState = PlayStateBeforeSeek;
        Timer2->start();
    } else {
        // In CD mode the bar counts seconds of CD audio, 176 400 bytes each.
        BASS_ChannelSetPosition(AudioObject->Channel,
                                static_cast<std::int64_t>(TrackBarEx1->value()) * 176'400);
    }
}

void TForm1::TrackBar1Change(int position) {
    if (AudioObject) BASS_ChannelSetAttributes(AudioObject->Channel, -1, position, -101);
    SavedVolume = position;
    Label25->setText(QStringLiteral("Громкость ") + QString::number(position));
}

void TForm1::TogglePlayPause() {
    if (!AudioObject) return;
    const auto step = transport_rules::PlayPauseFor(AudioObject->PlayState);
    switch (step) {
        case transport_rules::PlayPauseStep::Nothing:
            return;
        case transport_rules::PlayPauseStep::Resume:
            AudioObject->Resume();
            break;
        case transport_rules::PlayPauseStep::Pause:
            AudioObject->Pause();
            break;
        case transport_rules::PlayPauseStep::Restart:
            AudioObject->PlaySource(AudioObject->GetSourcePath());
            break;
    }
    if (const auto glyph = transport_rules::PlayGlyphAfter(step)) SetPlayButtonGlyph(*glyph);
}

void TForm1::StopPlayback() {
    if (AudioObject) {
        AudioObject->Stop();
        AudioObject->DropChannel();
    }
    TrackBarEx1->setValue(0);
    SetPlayButtonGlyph(PlayGlyph::Play);
}

void TForm1::SeekBy(int deltaMs) {
    if (!AudioObject) return;
    AudioObject->SetPosition(
        transport_rules::SeekTarget(AudioObject->GetPosition(), deltaMs, TrackBarEx1->maximum()));
}

void TForm1::OpenFilesCommand() {
    if (CdMode) LeaveCdMode();
    ListBox1->clear();
    if (AudioObject) {
        QFileDialog* open =
            CreateFileDialog(QStringLiteral("Выбрать музыкальные файлы"),
                             TAudioObject::GetOpenFilter() + QStringLiteral("|Any file (*.*)|*.*"),
                             QFileDialog::ExistingFiles);
        const QStringList files = RunDialog(open);
        delete open;  // now: its leftovers (the name completion) must not stay up while adding
        if (!files.isEmpty()) AudioObject->AddSources(files);
    }
    RefreshPlaylistView();
}

void TForm1::HideToTrayCommand() {
    showMinimized();
    CoolTrayIcon1->HideMainWindow();
}

void TForm1::MenuPlayNext() {
    ShowGlyph(BitmapSkinPart6, ImageList3, 2);
    if (AudioObject) AudioObject->PlayNext();
}

void TForm1::MenuPlayPrevious() {
    ShowGlyph(BitmapSkinPart5, ImageList3, 0);
    if (AudioObject) AudioObject->PlayPrevious();
}

void TForm1::MenuStop() {
    ShowGlyph(BitmapSkinPart3, ImageList2, 0);
    StopPlayback();
}

void TForm1::BitmapSkinPart2MouseDown() {
    if (!AudioObject) return;
    if (const auto glyph = transport_rules::PlayGlyphPressed(AudioObject->PlayState))
        ShowGlyph(BitmapSkinPart2, ImageList1, *glyph);
}

void TForm1::BitmapSkinPart2MouseUp() {
    // A press that left the button without a click takes the glyph of the state back.
    if (!AudioObject) return;
    if (AudioObject->PlayState == TransportState::Playing) SetPlayButtonGlyph(PlayGlyph::Pause);
    if (AudioObject->PlayState == TransportState::Paused) SetPlayButtonGlyph(PlayGlyph::Play);
}

void TForm1::BitmapSkinPart1Click() {
    // The slider's volume is on the channel already: unmuting gives the output back whole.
    BASS_SetVolume(SoundOn ? 0 : 100);
    ShowGlyph(BitmapSkinPart1, ImageList3, SoundOn ? 5 : 4);
    SoundOn = !SoundOn;
}

void TForm1::BitmapSkinPart4MouseDown() {
    ShowGlyph(BitmapSkinPart4, ImageList4, 1);
}

void TForm1::BitmapSkinPart4MouseUp() {
    ShowGlyph(BitmapSkinPart4, ImageList4, 0);
    ColorIndex = transport_rules::NextColorIndex(ColorIndex);
    SetWindowColor(kWindowColors[ColorIndex]);
}

void TForm1::BitmapSkinPart8MouseDown() {
    if (AudioObject && !AudioObject->Shuffle) ShowGlyph(BitmapSkinPart8, ImageList4, 3);
}

void TForm1::BitmapSkinPart8MouseUp() {
    if (AudioObject) SetShuffle(!AudioObject->Shuffle);
}

void TForm1::SetShuffle(bool on) {
    if (!AudioObject) return;
    ShowGlyph(BitmapSkinPart8, ImageList4, on ? 3 : 2);
    AudioObject->Shuffle = on;
}

void TForm1::BitmapSkinPart9MouseDown() {
    if (!LyricsShown) ShowGlyph(BitmapSkinPart9, ImageList5, 1);
}

void TForm1::BitmapSkinPart9MouseUp() {
    if (LyricsShown) {
        ShowGlyph(BitmapSkinPart9, ImageList5, 0);
    } else {
        ShowGlyph(BitmapSkinPart9, ImageList5, 1);
        Memo1->clear();
        if (AudioObject) Memo1->setPlainText(AudioObject->Lyrics);
    }
    LyricsShown = !LyricsShown;
    Memo1->setVisible(LyricsShown);
}

void TForm1::BitmapSkinPart7MouseDown() {
    ShowGlyph(BitmapSkinPart7, ImageList6, width() == kPlaylistHiddenWidth ? 3 : 1);
}

void TForm1::BitmapSkinPart7MouseUp() {
    const bool hidden = width() == kPlaylistHiddenWidth;
    ShowGlyph(BitmapSkinPart7, ImageList6, hidden ? 0 : 2);
    resize(hidden ? kPlaylistShownWidth : kPlaylistHiddenWidth, height());
}

void TForm1::AttachVisWindow(TForm4* window) {
    Form4 = window;
    PlaceVisWindow();
    connect(Form4, &TForm4::Closed, this, [this] {
        VisShown = false;
        ShowGlyph(BitmapSkinPart10, ImageList6, 4);
    });
}

void TForm1::PlaceVisWindow() {
    if (Form4) Form4->move(x(), y() - Form4->height() + 90);
}

void TForm1::moveEvent(QMoveEvent* event) {
    PlaceVisWindow();
    QWidget::moveEvent(event);
}

void TForm1::BitmapSkinPart10MouseDown() {
    if (Form4 && !VisShown) ShowGlyph(BitmapSkinPart10, ImageList6, 5);
}

void TForm1::BitmapSkinPart10MouseUp() {
    if (!Form4) return;
    if (VisShown) {
        Form4->close();
        return;  // the window's Closed turns the button off
    }
    PlaceVisWindow();
    Form4->show();
    Form4->raise();
    ShowGlyph(BitmapSkinPart10, ImageList6, 5);
    VisShown = true;
}

void TForm1::BitmapSkinPart11MouseDown() {
    if (Panel1->isHidden()) ShowGlyph(BitmapSkinPart11, ImageList6, 7);
}

void TForm1::BitmapSkinPart11MouseUp() {
    const bool shown = !Panel1->isHidden();
    ShowGlyph(BitmapSkinPart11, ImageList6, shown ? 6 : 7);
    resize(width(), shown ? 192 : 480);
    Panel1->setVisible(!shown);
}

// AudioView.

void TForm1::SetSpeedPosition(int position) {
    trkSpeed->setValue(position);
}

void TForm1::SetSeekMaximum(int ms) {
    TrackBarEx1->setMaximum(ms);
}

void TForm1::SetTotalTimeText(const QString& text) {
    Label26->setText(text);
}

void TForm1::SetFormatText(const QString& text) {
    Label3->setText(text);
}

void TForm1::SetPlayButtonGlyph(PlayGlyph image) {
    ShowGlyph(BitmapSkinPart2, ImageList1, image);
}

void TForm1::ShowTrayBalloon(const QString& title, const QString& text, int iconKind,
                             int timeoutSeconds) {
    CoolTrayIcon1->ShowBalloon(title, text, iconKind, timeoutSeconds);
}

void TForm1::ShowTrackInfo(const TrackInfoTexts& texts) {
    Label28->setText(texts.Artist);
    Label29->setText(texts.Title);
    Label30->setText(texts.Album);
    Label31->setText(texts.Year);
    Label32->setText(texts.Track);
    Label4->setText(texts.Genre);
    Label33->setText(texts.Heading);
}
