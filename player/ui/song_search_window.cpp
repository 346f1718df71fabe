#include "player/ui/song_search_window.h"

#include <QShowEvent>

#include "player/engine/audio_object.h"
#include "player/ui/tool_window.h"

namespace {

// How long one slice of a search may hold the window: well under a keystroke's interval.
constexpr int kSliceMs = 15;

}  // namespace

TForm7::TForm7(TAudioObject& audio)
    : QWidget(nullptr, tool_window::kFlags), audio_(audio), search_(audio) {
    tool_window::SetUp(this, "Form7", QStringLiteral("Поиск песни"), {313, 283}, 8);

    Label1 = new QLabel(QStringLiteral("Искомое слово"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 200, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 24, 297, 21);
    Label2 = new QLabel(QStringLiteral("Категория поиска"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 52, 200, 16);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(8, 68, 297, 21);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems({QStringLiteral("по названию"), QStringLiteral("по имени файла"),
                         QStringLiteral("по слову в песне")});
    ComboBox1->setCurrentIndex(static_cast<int>(SongSearch::Category::ByTitle));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 96, 297, 179);
    ListBox1->setUniformItemSizes(true);

    SearchSlices = new QTimer(this);
    SearchSlices->setSingleShot(true);
    SearchSlices->setInterval(0);

    connect(Edit1, &QLineEdit::textChanged, this, &TForm7::Edit1Change);
    connect(ComboBox1, &QComboBox::currentTextChanged, this, &TForm7::ComboBox1Change);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm7::ListBox1DblClick);
    connect(SearchSlices, &QTimer::timeout, this, &TForm7::ContinueSearch);
}

SongSearch::Category TForm7::Category() const {
    return SongSearch::categoryAt(ComboBox1->findText(ComboBox1->currentText(), Qt::MatchExactly));
}

void TForm7::FormShow() {
    StartSearch(QString());
}

void TForm7::ComboBox1Change() {
    StartSearch(QString());
}

void TForm7::Edit1Change() {
    StartSearch(Edit1->text());
}

void TForm7::ListBox1DblClick() {
    const QListWidgetItem* row = ListBox1->currentItem();
    if (!row) return;
    // Found when it plays: an add running plays when it ends, and this after it.
    audio_.AfterAdding([this, category = Category(), text = row->text()] {
        audio_.PlayEntry(search_.entryOf(category, text));
    });
}

bool TForm7::Searching() const {
    return !search_.finished();
}

void TForm7::StartSearch(const QString& word) {
    ListBox1->clear();
    search_.start(Category(), word);
    ContinueSearch();
}

void TForm7::ContinueSearch() {
    ListBox1->addItems(search_.proceed(QDeadlineTimer(kSliceMs)));
    if (!search_.finished()) SearchSlices->start();
}

// Restoring from the taskbar is no new showing: the results stay.
void TForm7::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QWidget::showEvent(event);
}

void TForm7::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) SearchSlices->stop();
    QWidget::hideEvent(event);
}
