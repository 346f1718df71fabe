#include "player/ui/main_window_view.h"

#include <QTime>

#include "player/engine/audio_object.h"
#include "player/ui/main_window.h"
#include "soundlib/soundlib.h"

void TMainWindowView::SetSpeedPosition(int) {}

void TMainWindowView::SetSeekMaximum(int ms) {
    form_.TrackBarEx1->setMaximum(ms);
}

void TMainWindowView::RepaintPlaylist() {
    form_.ListBox1->viewport()->update();
}

void TMainWindowView::SelectPlaylistRow(int index) {
    form_.ListBox1->setCurrentRow(index < form_.ListBox1->count() ? index : -1);
}

void TMainWindowView::ClearPlaylistView() {
    form_.ListBox1->clear();
}

void TMainWindowView::RefreshPlaylistView() {
    form_.ListBox1->clear();
    if (!audio_) return;
    const int count = audio_->EntryCount();
    for (int i = 0; i < count; ++i) form_.ListBox1->addItem(audio_->GetEntryTitle(i));
    constexpr long long kDay = 86'400'000;
    const int ms = static_cast<int>(audio_->TotalLength() % kDay);
    form_.Label35->setText(QString::fromUtf8("Общее время: ") +
                           QTime::fromMSecsSinceStartOfDay(ms).toString("hh:mm:ss") +
                           QString::fromUtf8(" Всего песен: ") + QString::number(count));
}

void TMainWindowView::SetTotalTimeText(const QString& text) {
    form_.Label26->setText(text);
}

void TMainWindowView::SetFormatText(const QString& text) {
    form_.Label3->setText(text);
}

void TMainWindowView::SetListCaption(const QString& text) {
    form_.Label34->setText(text);
}

void TMainWindowView::SetPlayButtonGlyph(int image) {
    TForm1::ShowGlyph(form_.BitmapSkinPart2, form_.ImageList1, image);
}

void TMainWindowView::ShowTrayBalloon(const QString&, const QString&, int, int) {}

void TMainWindowView::ShowTrackInfo(const TTrackInfoTexts& texts) {
    form_.Label28->setText(texts.Artist);
    form_.Label29->setText(texts.Title);
    form_.Label30->setText(texts.Album);
    form_.Label31->setText(texts.Year);
    form_.Label32->setText(texts.Track);
    form_.Label4->setText(texts.Genre);
    form_.Label33->setText(texts.Heading);
}

void TMainWindowView::ReapplyEffects() {
    if (audio_) BASS_ChannelSetAttributes(audio_->Channel, -1, form_.TrackBar1->value(), -101);
}

void TMainWindowView::LibraryMenuItemInserted(TLibraryKind, int, const QString&) {}
