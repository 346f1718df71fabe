#pragma once

#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "player/skin/parent_skin.h"
#include "player/skin/round_rect_skin_part.h"
#include "player/vis/circle_scope.h"
#include "player/vis/ocillo_scope.h"
#include "player/vis/paint_box.h"
#include "player/vis/spectrum.h"

// The visualisation window: a borderless black window, rounded by its skin, that shows the
// playing channel of the audio object (the global AudioObject) as a spectrum, a waveform
// or two circles, with the track's title and artist and the playing time in digit cells.
// Its right-click menu picks the display; a double-click closes it; a left press on the
// skin or the drawing drags it. It draws twenty times a second while it is shown and does
// nothing while hidden.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    // A tool window of `parent` (the main window): no taskbar entry of its own, and not one
    // that keeps the program running once the main window has closed.
    explicit TForm4(QWidget* parent = nullptr);

    int VisMode = 2;  // 0 circles, 1 waveform, 2 spectrum
    TSpectrum Spectrum;
    TOcilloScope OcilloScope;
    TCircleScope CircleScope;
    QImage Nums;  // the digit strip

    TParentSkin* ParentSkin1;
    TRoundRectSkinPart* RoundRectSkinPart1;
    PaintBox* PaintBox1;
    QLabel* Label1;  // artist
    QLabel* Label2;  // title
    QTimer* Timer1;  // 50 ms, running while the window is shown
    QMenu* PopupMenu1;

    // One frame: the labels from the audio object, then, only while its channel plays, the
    // display of VisMode and the time, drawn on PaintBox1.
    void Timer1Timer();

signals:
    // The window was closed, by its own double-click as well as by the main window.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenu();
    void ParentSkin1MouseDown(Qt::MouseButton button, QPoint pos);
};
