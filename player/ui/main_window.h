#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSlider>
#include <QWidget>

#include "player/skin/bitmap_skin_part.h"
#include "player/skin/image_list.h"
#include "player/skin/parent_skin.h"
#include "player/skin/round_rect_skin_part.h"

// The main window: a borderless, sky-blue window whose shape is the union of four rounded
// panels (transport, equalizer and effects, track information, playlist), with the button
// bar in the transport panel. The controls keep the names of the window's design; controls
// whose behaviour has not been built yet are present and disabled. The controls designed on
// a panel are its children until the window's first paint lifts them onto ParentSkin1.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Position in the window colour table; the window starts in its design colour.
    int ColorIndex = 0;

    // Shows picture `index` of `glyphs` on a button (its pressed or released look).
    static void ShowGlyph(TBitmapSkinPart* button, const TImageList& glyphs, int index);

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

    TImageList ImageList1;
    TImageList ImageList2;
    TImageList ImageList3;
    TImageList ImageList4;
    TImageList ImageList5;
    TImageList ImageList6;

    // Transport panel.
    QLabel* Label2;        // status text
    QLabel* Label27;       // elapsed time
    QLabel* Label26;       // track length
    QLabel* Panel6;        // quick access
    QLabel* Image1;        // closes the window
    QSlider* TrackBarEx1;  // seek bar
    QSlider* TrackBar1;    // volume
    QLabel* Label25;       // volume read-out

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
    QProgressBar* ProgressBar1;  // right level
    QProgressBar* ProgressBar2;  // left level
    QLabel* Label23;
    QLabel* Label24;  // processor load

    // Playlist panel.
    QLabel* Label34;  // current list
    QListWidget* ListBox1;
    QLabel* Label35;  // totals

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shades the four panels of the shape as raised plates in the window colour.
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateSkin();
    void CreateButtonBar();
    void CreateTransportPanel();
    void CreateInformationPanel();
    void CreateAudioSettingsPanel();
    void CreatePlaylistPanel();
    TBitmapSkinPart* CreateButton(QRect geometry, const char* hint, QColor transparentColor,
                                  const TImageList& glyphs, int glyph);
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

    void ParentSkin1MouseDown(Qt::MouseButton button, QPoint pos);
    void BitmapSkinPart4MouseDown();
    void BitmapSkinPart4MouseUp();
    void SetWindowColor(QColor color);
};
