#include "player/ui/tag_editor_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QStyle>

#include "player/engine/audio_object.h"
#include "player/engine/play_state.h"
#include "player/engine/source_rules.h"
#include "player/ui/file_manager.h"
#include "player/ui/main_window.h"
#include "player/ui/playlist_panel_text.h"
#include "player/ui/tool_window.h"

TForm6::TForm6(TForm1& form1) : QWidget(nullptr, tool_window::kFlags), form1_(form1) {
    tool_window::SetUp(this, "Form6", QStringLiteral("Редактор MP3-тегов"), {513, 450}, 8);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setGeometry(8, 8, 497, 433);

    Edit13 = CreateEdit("Edit13", "Размещение", 88, 16, 305, false);
    Button1 = new QPushButton(QStringLiteral("..."), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(408, 16, 75, 25);
    Edit1 = CreateEdit("Edit1", "Название", 88, 48, 390);
    Edit2 = CreateEdit("Edit2", "Исполнитель", 88, 80, 390);
    Edit3 = CreateEdit("Edit3", "Альбом", 88, 112, 390);
    Edit4 = CreateEdit("Edit4", "Дорожка", 88, 144, 80);
    Edit5 = CreateEdit("Edit5", "Год", 216, 144, 80);
    Edit6 = CreateEdit("Edit6", "Жанр", 352, 144, 125);
    Edit7 = CreateEdit("Edit7", "Коментарий", 88, 176, 390);
    Edit8 = CreateEdit("Edit8", "Композитор", 88, 208, 160);
    Edit10 = CreateEdit("Edit10", "Encoder", 336, 208, 140);
    Edit9 = CreateEdit("Edit9", "Copyright", 88, 240, 160);
    Edit11 = CreateEdit("Edit11", "Language", 336, 240, 140);
    Edit12 = CreateEdit("Edit12", "Link", 88, 272, 390);
    auto* lyricsLabel = new QLabel(QStringLiteral("Слова песни"), Panel1);
    lyricsLabel->setGeometry(8, 307, 76, 16);
    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(88, 304, 305, 89);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(408, 312, 75, 25);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("Close"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(408, 352, 75, 25);
    Edit14 = CreateEdit("Edit14", "Размер", 88, 400, 121, false);
    Edit15 = CreateEdit("Edit15", "Длительность", 352, 400, 121, false);

    QWidget* const tabOrder[] = {Edit1, Edit2,  Edit3,   Edit4,  Edit5,  Edit6,   Edit7,
                                 Edit8, Edit10, Edit9,   Edit11, Edit12, BitBtn1, BitBtn2,
                                 Memo1, Edit13, Button1, Edit14, Edit15};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    for (const auto& [box, field] : FieldBoxes())
        connect(box, &QLineEdit::textChanged, this, &TForm6::Edit1Change);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm6::Edit1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm6::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm6::BitBtn2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
}

QLineEdit* TForm6::CreateEdit(const char* name, const char* label, int left, int top, int width,
                              bool editable) {
    auto* caption = new QLabel(QString::fromUtf8(label), Panel1);
    // Right-aligned against its box, as far left as the caption needs.
    const int captionWidth = caption->fontMetrics().horizontalAdvance(caption->text()) + 2;
    caption->setGeometry(left - 6 - captionWidth, top + 3, captionWidth, 16);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* box = new QLineEdit(Panel1);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(left, top, width, 21);
    box->setReadOnly(!editable);
    return box;
}

std::array<std::pair<QLineEdit*, SongTags::Field>, 12> TForm6::FieldBoxes() const {
    return {{{Edit1, SongTags::Field::Title},
             {Edit2, SongTags::Field::Artist},
             {Edit3, SongTags::Field::Album},
             {Edit4, SongTags::Field::Track},
             {Edit5, SongTags::Field::Year},
             {Edit6, SongTags::Field::Genre},
             {Edit7, SongTags::Field::Comment},
             {Edit8, SongTags::Field::Composer},
             {Edit10, SongTags::Field::Encoder},
             {Edit9, SongTags::Field::Copyright},
             {Edit11, SongTags::Field::Language},
             {Edit12, SongTags::Field::Link}}};
}

QString TForm6::SelectedSong() const {
    const int row = form1_.ListBox1->currentRow();
    if (row < 0 || !AudioObject) return QString();
    const QString file = AudioObject->GetEntryFile(row);
    return source_rules::IsMp3File(file) ? file : QString();
}

bool TForm6::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(event);
}

// A title in the box means the window holds a song, maybe edited: it is kept as it is.
void TForm6::FormActivate() {
    if (Edit1->text().isEmpty()) {
        // Only an MP3 entry is loaded: the selection may have moved to another kind of
        // entry since the editor opened, and its file must never get MP3 tags.
        const QString file = SelectedSong();
        if (!file.isEmpty()) {
            fileName_ = file;
            song_ = SongTags::read(file);
            for (const auto& [box, field] : FieldBoxes()) box->setText(song_[field]);
            Edit13->setText(file);
            Memo1->setPlainText(song_[SongTags::Field::Lyrics]);
            const QFileInfo info(file);
            Edit14->setText(QString::number(info.exists() ? info.size() : 0) +
                            QStringLiteral(" Байт"));
            Edit15->setText(playlist_panel_text::ClockText(AudioObject->ProbeLength(file)));
        }
        // Filling the boxes is no edit.
        BitBtn1->setEnabled(false);
    }
}

void TForm6::Edit1Change() {
    BitBtn1->setEnabled(true);
}

void TForm6::BitBtn1Click() {
    if (!AudioObject) return;
    // An add may be measuring the file, and it chooses what plays when it ends.
    if (AudioObject->Adding()) {
        AudioObject->AfterAdding([this] { BitBtn1Click(); });
        return;
    }
    // The song is released while its file is replaced, and played again afterwards.
    const int current = AudioObject->GetCurrentIndex();
    const bool edited = !fileName_.isEmpty() && AudioObject->GetEntryFile(current) == fileName_;
    if (edited && AudioObject->PlayState == TransportState::Playing) form1_.StopPlayback();
    // The other fields (tag present, version, size) stay as loaded.
    for (const auto& [box, field] : FieldBoxes()) song_[field] = box->text();
    song_[SongTags::Field::Lyrics] = Memo1->toPlainText();
    const bool saved = song_.save(fileName_);
    BitBtn1->setEnabled(false);
    if (edited) AudioObject->PlayEntry(current);
    if (!saved)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Теги не сохранены: файл не удалось записать."));
}

void TForm6::BitBtn2Click() {
    close();
}

void TForm6::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TForm6::FormClose() {
    for (const auto& [box, field] : FieldBoxes()) box->clear();
    Edit13->clear();
    Edit14->clear();
    fileName_.clear();
}

void TForm6::Button1Click() {
    if (!Edit13->text().isEmpty()) file_manager::ShowFile(Edit13->text());
}
