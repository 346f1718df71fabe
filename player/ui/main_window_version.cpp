// The main window's version report and the ways to the About and update windows.
#include <QMessageBox>

#include "player/ui/main_window.h"
#include "player/ui/version_report.h"

void TForm1::Button1Click() {
    Memo1->clear();
    ReportProgramFiles(Memo1);
    ReportDevice(Memo1, SoundLibraryDevices(), [this] {
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Староват DirectX, пора 9 ставить"));
    });
    // The report lands in the lyrics box, which is hidden unless the lyrics are shown; it
    // is shown as the lyrics button would show it, so the button hides it again.
    LyricsShown = true;
    ShowGlyph(BitmapSkinPart9, ImageList5, 1);
    Memo1->setVisible(true);
    Memo1->moveCursor(QTextCursor::Start);
}

void TForm1::ShowAboutWindow() {
    ShowWindow(AboutWindow);
}

void TForm1::ShowUpdateWindow() {
    ShowWindow(UpdateWindow);
}
