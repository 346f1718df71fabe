#pragma once

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "player/engine/audio_view.h"
#include "player/engine/sample_effects.h"

#include "player/skin/bitmap_skin_part.h"
#include "player/skin/cool_tray_icon.h"
#include "player/skin/image_list.h"
#include "player/skin/parent_skin.h"
#include "player/skin/round_rect_skin_part.h"
#include "player/ui/level_bar.h"
#include "player/ui/playlist_box.h"
#include "player/ui/playlist_row_delegate.h"
#include "player/ui/track_bar_ex.h"

class TForm4;
class TForm5;

// The main window: a borderless, sky-blue window whose shape is the union of four rounded
// panels (transport, equalizer and effects, track information, playlist), with the button
// bar in the transport panel. The controls keep the names of the window's design; controls
// whose behaviour has not been built yet are present and disabled. The controls designed on
// a panel are its children until the window's first paint lifts them onto ParentSkin1.
//
// The window drives the one audio object (the global AudioObject) and is its view: what
// the audio object shows lands on the controls here. Every handler runs on the window
// thread and does nothing that needs a source while AudioObject is not set.
class TForm1 : public QWidget, public AudioView {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Position in the window colour table; the window starts in its design colour.
    int ColorIndex = 0;
    bool SoundOn = true;   // the mute button's next click mutes
    int SavedVolume = 50;  // the volume bar's last position
    bool LyricsShown = false;
    bool VisShown = false;
    bool SeekDragging = false;  // a mouse button is down on the seek bar
    // The state the seek bar's drag began in, back when there is nothing to play.
    TransportState PlayStateBeforeSeek = TransportState::NotReady;
    // CD mode: the playlist box lists the tracks of drive CdDrive's disc and Timer3 drives
    // the time, seek bar and level meters (falling peaks 0..128).
    bool CdMode = false;
    int CdDrive = 0;
    int CdPeakLeft = 0;
    int CdPeakRight = 0;
    int CdTick = 0;

    // The visualisation window, which the "Визуализация" button shows and hides and which
    // keeps its place above this window's top edge. Its own close turns the button off.
    void AttachVisWindow(TForm4* window);
    TForm4* Form4 = nullptr;

    // Transport commands, shared by the buttons and the menus.
    void TogglePlayPause();
    // Stops, frees the stopped channel, and puts the seek bar and the play glyph back.
    void StopPlayback();
    // Seeks by deltaMs from the position now, kept within the track.
    void SeekBy(int deltaMs);
    // The menu steps that show the step buttons' released glyphs.
    void MenuPlayNext();
    void MenuPlayPrevious();
    // The shuffle switch and its button's glyph.
    void SetShuffle(bool on);
    void OpenFilesCommand();
    // "Спрятать окно", "Спрятать в трей": minimised, then hidden by the tray icon.
    void HideToTrayCommand();

    // Timer handlers: status, load and end of track; elapsed time, seek bar and levels.
    void Timer1Timer();
    void Timer2Timer();
    // CD mode (main_window_cd.cpp). The quick-access menu gets one item per drive of the
    // sound library, after the fixed items; choosing one enters CD mode on that drive (from
    // CD mode too). Commands that load the playlist's sources leave CD mode first.
    void BuildCdDriveItems();
    void EnterCdMode(int drive);
    void LeaveCdMode();
    void ListCdTracks();
    void PlayCdTrack(int drive, int track);
    // The end of a CD stream, posted to the window thread; ignored unless it is the live one.
    void EndOfCdTrack(std::uint32_t channel);
    void Timer3Timer();
    void TrackBar1Change(int position);

    // Playlist panel.
    void ListBox1DblClick();
    void AddFolderCommand();
    void DeleteSelectedCommand();
    void LoadPlaylistCommand();
    void SortByTitleCommand();
    void SavePlsCommand();
    void SaveM3uCommand();
    void ClearPlaylistCommand();
    // "Не выбран объект" without a selected row, a refusal for a row that is not an MP3
    // file; otherwise the tag editor, which works on the selected row.
    void TagEditor1Click();
    void SongSearchCommand();
    void DefaultPlaylistCommand();

    // Fills Memo1 with the version report of the program's files and the sound device,
    // and shows it.
    void Button1Click();
    // The About window, shown by the menus' "О программе..."; set once it exists.
    QWidget* AboutWindow = nullptr;
    void ShowAboutWindow();
    // The update wizard, shown (not modal) by "Проверка обновлений...".
    QWidget* UpdateWindow = nullptr;
    void ShowUpdateWindow();
    // The tag editor and the song search; set once they exist.
    QWidget* Form6 = nullptr;
    QWidget* Form7 = nullptr;
    // Shows a modeless window in front, restored if it was minimised.
    static void ShowWindow(QWidget* window);

    // AudioView: what the audio object shows.
    void SetSpeedPosition(int position) override;
    void SetSeekMaximum(int ms) override;
    void RepaintPlaylist() override;
    void SelectPlaylistRow(int index) override;
    void ClearPlaylistView() override;
    // ListBox1 := the playlist's titles; Label35 := the total time and the song count.
    void RefreshPlaylistView() override;
    // Not in CD mode, where the rows are the disc's tracks.
    void EntryTitleArrived() override;
    void SetTotalTimeText(const QString& text) override;
    void SetFormatText(const QString& text) override;
    void SetListCaption(const QString& text) override;
    // Label35 shows how far the adding has come, and the window handles its pending
    // events (input, timers, paints) before the adding goes on.
    void ShowAddingProgress(int done, int total) override;
    // ListCommands are unavailable while an add runs.
    void AddingChanged(bool adding) override;
    // Label35's font, as large as the design's but small enough for the whole line.
    void FitTotalsLine();
    void SetPlayButtonGlyph(PlayGlyph image) override;
    void ShowTrayBalloon(const QString& title, const QString& text, int iconKind,
                         int timeoutSeconds) override;
    void ShowTrackInfo(const TrackInfoTexts& texts) override;
    // Volume, equalizer bands, the switched-on channel effects (their window not shown) and
    // the ticked sample effects, onto the new Channel.
    void ReapplyEffects() override;
    void LibraryMenuItemInserted(LibraryKind kind, int position, const QString& caption) override;
    // The items are made when the submenu is next shown (a collection of 100,000 artists
    // makes no 100,000 menu items at start).
    void LibraryMenuFilled(LibraryKind kind, const LibraryMenus& menus) override;
    void SaveFailed(const QString& file) override;

    // Equalizer. Band handles in band order, channel-effect handles in the order of the
    // effect table; each refers to the channel that was current when it was attached.
    std::array<std::uint32_t, 9> EqualizerFX{};
    std::array<std::uint32_t, 7> EffectFX{};
    // The equalizer switch: attaches the nine bands to Channel (and pushes them) when
    // CheckBox1 is checked, removes them otherwise; the equalizer's controls follow it.
    void CheckBox1Click();
    // TrackBar2Change ... TrackBar10Change: band 0 ... 8 pushed, hints refreshed, the
    // preset label set to the hand-set preset.
    void BandChange(int band);
    // Every band pushed again; the preset label keeps its caption.
    void ReapplyEqualizerBands();
    void UpdateEqualizerHints();
    void TrackBar11Change();
    // Index 0 ... 20 moves the band sliders to the preset (20 also the depth); any index
    // names its preset (an index without one, the hand-set preset) on Label37.
    void ApplyEqualizerPreset(int index);
    // The preset menu opens under the link with the preset in force checked.
    void Label37Click();
    void Label40Click();
    // CheckBox5 ... CheckBox11: channel effect `effect` (index in the effect table) on or
    // off; switched on, the effect window shows its tab and pushes its values.
    void EffectSwitchClick(std::size_t effect);
    // CheckBox2 ... CheckBox4: a ticked sample effect starts afresh on Channel.
    void SampleEffectClick(QCheckBox* box, SampleEffect& effect);
    // The speed: the position is the percentage of the source's own rate.
    void trkSpeedChange(int position);
    std::array<QSlider*, 9> Bands() const;
    std::array<QCheckBox*, 7> EffectSwitches() const;

    // Shows picture `index` of `glyphs` on a button (its pressed or released look).
    static void ShowGlyph(TBitmapSkinPart* button, const ImageList& glyphs, int index);
    static void ShowGlyph(TBitmapSkinPart* button, const ImageList& glyphs, PlayGlyph glyph) {
        ShowGlyph(button, glyphs, static_cast<int>(glyph));
    }

    TParentSkin* ParentSkin1;
    TRoundRectSkinPart* RoundRectSkinPart1;  // transport
    TRoundRectSkinPart* RoundRectSkinPart2;  // equalizer and effects
    TRoundRectSkinPart* RoundRectSkinPart3;  // track information
    TRoundRectSkinPart* RoundRectSkinPart4;  // playlist

    TParentSkin* ParentSkin2;  // the button bar
    TBitmapSkinPart* BitmapSkinPart1;
    TBitmapSkinPart* BitmapSkinPart2;
    TBitmapSkinPart* BitmapSkinPart3;
    TBitmapSkinPart* BitmapSkinPart4;
    TBitmapSkinPart* BitmapSkinPart5;
    TBitmapSkinPart* BitmapSkinPart6;
    TBitmapSkinPart* BitmapSkinPart7;
    TBitmapSkinPart* BitmapSkinPart8;
    TBitmapSkinPart* BitmapSkinPart9;
    TBitmapSkinPart* BitmapSkinPart10;
    TBitmapSkinPart* BitmapSkinPart11;

    ImageList ImageList1;
    ImageList ImageList2;
    ImageList ImageList3;
    ImageList ImageList4;
    ImageList ImageList5;
    ImageList ImageList6;

    // Transport panel.
    QLabel* Label2;           // status text
    QLabel* Label27;          // elapsed time
    QLabel* Label26;          // track length
    QLabel* Panel6;           // quick access
    QLabel* Image1;           // closes the window
    TrackBarEx* TrackBarEx1;  // seek bar
    QSlider* TrackBar1;       // volume
    QLabel* Label25;          // volume read-out

    // Track information panel.
    QLabel* Label33;        // heading
    QLabel* Label28;        // artist
    QLabel* Label29;        // title
    QLabel* Label30;        // album
    QLabel* Label31;        // year
    QLabel* Label32;        // track
    QLabel* Label4;         // genre
    QLabel* Label3;         // format
    QPlainTextEdit* Memo1;  // lyrics, hidden
    QPushButton* Button1;   // "Files Version": the version report into Memo1

    // Equalizer and effects panel.
    QWidget* Panel1;       // audio settings area
    QCheckBox* CheckBox1;  // equalizer on
    QLabel* Label37;       // preset in force
    QLabel* Label40;       // reset
    QSlider* TrackBar2;    // band gains, 80 Hz ... 16 kHz
    QSlider* TrackBar3;
    QSlider* TrackBar4;
    QSlider* TrackBar5;
    QSlider* TrackBar6;
    QSlider* TrackBar7;
    QSlider* TrackBar8;
    QSlider* TrackBar9;
    QSlider* TrackBar10;
    QSlider* TrackBar11;  // depth
    QLabel* Label12;      // band captions
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label17;
    QLabel* Label18;
    QLabel* Label19;
    QLabel* Label20;
    QCheckBox* CheckBox2;  // sample effects: rotate, echo, flanger
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QSlider* trkSpeed;
    QLabel* Label36;       // speed read-out
    QCheckBox* CheckBox5;  // channel effects: chorus ... reverb
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox10;
    QCheckBox* CheckBox11;
    TLevelBar* ProgressBar1;  // right level
    TLevelBar* ProgressBar2;  // left level
    QLabel* Label23;
    QLabel* Label24;  // processor load

    // Playlist panel.
    QLabel* Label34;  // current list
    PlaylistBox* ListBox1;
    QLabel* Label35;  // totals
    PlaylistRowDelegate* ListBox1Rows;
    QFileDialog* SaveDialog1;  // keeps the last chosen name between saves

    QTimer* Timer1;  // 250 ms
    QTimer* Timer2;  // 100 ms
    QTimer* Timer3;  // 50 ms, CD mode

    TCoolTrayIcon* CoolTrayIcon1;  // hint "MediaPlayer", menu PopupMenu2

    QMenu* PopupMenu1;  // playlist commands
    QMenu* PopupMenu3;  // equalizer presets
    QMenu* PopupMenu2;  // tray
    QMenu* PopupMenu4;  // quick access: library groups, playlists, open a file
    QMenu* PopupMenu5;  // the window's context menu
    QMenu* AlbumsMenu;
    QMenu* SingersMenu;
    QMenu* GenresMenu;

    TForm5* Form5;  // the effect window
    RotateDSP Rotate;
    EchoDSP Echo;
    FlangerDSP Flanger;

signals:
    // "Настройки...": the settings dialog shows itself.
    void SettingsCommand();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shades the four panels of the shape as raised plates in the window colour, from a
    // picture made once (the controls on the panels repaint many times a second).
    void paintEvent(QPaintEvent* event) override;
    // The visualisation window moves along, shown or not.
    void moveEvent(QMoveEvent* event) override;

private:
    // The panels as paintEvent shows them, and the window colour they were made in.
    QPixmap panelPicture_;
    QColor panelColor_;

    void CreateSkin();
    void CreateButtonBar();
    void CreateTransportPanel();
    void CreateInformationPanel();
    void CreateAudioSettingsPanel();
    void CreatePlaylistPanel();
    void CreatePopupMenu3();
    void BindEffects();
    TBitmapSkinPart* CreateButton(QRect geometry, const char* hint, QColor transparentColor,
                                  const ImageList& glyphs, int glyph);
    // Names a control after the window's design and puts it in place.
    template <class Control>
    static Control* Place(Control* control, const char* name, QRect geometry);
    QLabel* CreateLabel(QWidget* on, const char* name, QPoint place, const QString& caption,
                        int width);
    QLabel* CreateLink(QWidget* on, const char* name, QPoint place, const char* caption,
                       const char* hint);
    // Created disabled, like every control whose behaviour comes with its own feature.
    QSlider* CreateSlider(QWidget* on, const char* name, QRect geometry, int min, int max,
                          const char* hint);
    QCheckBox* CreateCheckBox(QWidget* on, const char* name, QPoint place, const char* caption);

    void CreateTimers();
    void CreateMenus();
    void CreatePopupMenu1();
    void CreatePopupMenu4();
    void BindTransport();
    void BindButtons();
    QMenu* LibrarySubmenu(LibraryKind kind) const;
    // The widest a library item's caption is drawn, in pixels.
    static constexpr int kLibraryItemWidth = 480;
    QAction* CreateLibraryItem(LibraryKind kind, const QString& caption);
    // Makes the items a fill left for when the submenu is shown.
    void BuildLibraryItems(LibraryKind kind);
    // Per library kind: the model of a fill whose items are not made yet.
    std::array<const LibraryMenus*, 3> UnbuiltLibraryItems{};
    // The menu commands that load, change or replace the playlist (or, in CD mode, what
    // the playlist box lists): an add running would make them only wait for its end.
    QList<QAction*> ListCommands;
    // A file dialog of our own (not the desktop's), so tests and every desktop see the same.
    QFileDialog* CreateFileDialog(const QString& title, const QString& filter,
                                  QFileDialog::FileMode mode);
    // Shows the dialog; the chosen paths, empty when cancelled.
    static QStringList RunDialog(QFileDialog* dialog);
    void SavePlaylistAs(const QString& filter, bool m3u);

    void ParentSkin1MouseDown(Qt::MouseButton button, QPoint pos);
    void TrackBarEx1MouseDown(Qt::MouseButton button);
    void TrackBarEx1MouseMove(Qt::MouseButtons buttons);
    void TrackBarEx1MouseUp(Qt::MouseButton button);
    void BitmapSkinPart2MouseDown();
    void BitmapSkinPart2MouseUp();
    void BitmapSkinPart1Click();
    void BitmapSkinPart4MouseDown();
    void BitmapSkinPart4MouseUp();
    void BitmapSkinPart8MouseDown();
    void BitmapSkinPart8MouseUp();
    void BitmapSkinPart9MouseDown();
    void BitmapSkinPart9MouseUp();
    void BitmapSkinPart7MouseDown();
    void BitmapSkinPart7MouseUp();
    void BitmapSkinPart10MouseDown();
    void BitmapSkinPart10MouseUp();
    // At this window's left edge, overlapping its top edge by 90 pixels.
    void PlaceVisWindow();
    void BitmapSkinPart11MouseDown();
    void BitmapSkinPart11MouseUp();
    void MenuStop();
    void SetWindowColor(QColor color);
};
