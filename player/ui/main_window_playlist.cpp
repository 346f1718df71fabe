// The main window's playlist panel: the list box, its context menu and the quick-access
// menu with the music library's groups.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStyle>
#include <QThread>
#include <utility>

#include "player/app/program_folder.h"
#include "player/engine/audio_object.h"
#include "player/engine/play_state.h"
#include "player/engine/source_rules.h"
#include "player/ui/dialog_filter.h"
#include "player/ui/folder_scan.h"
#include "player/ui/main_window.h"
#include "player/ui/playlist_panel_text.h"
#include "player/ui/save_failure_box.h"

void TForm1::CreatePopupMenu1() {
    PopupMenu1 = new QMenu(this);
    const auto item = [this](const char* caption, void (TForm1::*handler)(),
                             const char* shortcut = nullptr) {
        QAction* action = PopupMenu1->addAction(QString::fromUtf8(caption));
        if (shortcut) {
            action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
            action->setShortcutContext(Qt::WidgetShortcut);
            ListBox1->addAction(action);
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    // Ctrl+O is the window's own shortcut for the same command, so it is only shown here.
    QAction* open = item("Добавить к списку...", &TForm1::OpenFilesCommand);
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    ListBox1->removeAction(open);
    ListCommands << open << item("Добавить папку...", &TForm1::AddFolderCommand)
                 << item("Удалить из списка", &TForm1::DeleteSelectedCommand, "Ctrl+D");
    PopupMenu1->addSeparator();
    item("Поиск песни...", &TForm1::SongSearchCommand, "Ctrl+F");
    PopupMenu1->addSeparator();
    ListCommands << item("Загрузить список...", &TForm1::LoadPlaylistCommand);
    QMenu* sort = PopupMenu1->addMenu(QStringLiteral("Сортировать"));
    ListCommands << sort->menuAction();
    connect(sort->addAction(QStringLiteral("По названию")), &QAction::triggered, this,
            &TForm1::SortByTitleCommand);
    QMenu* save = PopupMenu1->addMenu(QStringLiteral("Сохранить список"));
    connect(save->addAction(QStringLiteral("PLS")), &QAction::triggered, this,
            &TForm1::SavePlsCommand);
    connect(save->addAction(QStringLiteral("M3U")), &QAction::triggered, this,
            &TForm1::SaveM3uCommand);
    ListCommands << item("Очистить список", &TForm1::ClearPlaylistCommand, "Ctrl+C");
    PopupMenu1->addSeparator();
    // The editor works on the selected row, which an add may leave out of date.
    ListCommands << item("Редактор тегов...", &TForm1::TagEditor1Click, "Ctrl+T");
}

void TForm1::CreatePopupMenu4() {
    PopupMenu4 = new QMenu(this);
    QStyle* look = style();
    const QIcon images[] = {look->standardIcon(QStyle::SP_DriveCDIcon),
                            look->standardIcon(QStyle::SP_DirHomeIcon),
                            look->standardIcon(QStyle::SP_FileDialogDetailedView)};
    AlbumsMenu = PopupMenu4->addMenu(images[0], QStringLiteral("Альбомы"));
    SingersMenu = PopupMenu4->addMenu(images[1], QStringLiteral("Исполнители"));
    GenresMenu = PopupMenu4->addMenu(images[2], QStringLiteral("Жанры"));
    for (LibraryKind kind : {LibraryKind::Albums, LibraryKind::Artists, LibraryKind::Genres}) {
        connect(LibrarySubmenu(kind), &QMenu::aboutToShow, this,
                [this, kind] { BuildLibraryItems(kind); });
    }
    QMenu* lists = PopupMenu4->addMenu(look->standardIcon(QStyle::SP_FileDialogListView),
                                       QStringLiteral("Списки воспроизведения"));
    connect(lists->addAction(QStringLiteral("Default")), &QAction::triggered, this,
            &TForm1::DefaultPlaylistCommand);
    QAction* allMusic = PopupMenu4->addAction(look->standardIcon(QStyle::SP_MediaVolume),
                                              QStringLiteral("Вся музыка"));
    connect(allMusic, &QAction::triggered, this, [this] {
        if (CdMode) LeaveCdMode();
        if (AudioObject) AudioObject->PlayAllMusic();
    });
    PopupMenu4->addSeparator();
    QAction* open = PopupMenu4->addAction(QStringLiteral("Открыть файл"));
    connect(open, &QAction::triggered, this, &TForm1::OpenFilesCommand);
    ListCommands << AlbumsMenu->menuAction() << SingersMenu->menuAction()
                 << GenresMenu->menuAction() << lists->menuAction() << allMusic << open;
}

QMenu* TForm1::LibrarySubmenu(LibraryKind kind) const {
    switch (kind) {
        case LibraryKind::Albums:
            return AlbumsMenu;
        case LibraryKind::Artists:
            return SingersMenu;
        case LibraryKind::Genres:
            break;
    }
    return GenresMenu;
}

QAction* TForm1::CreateLibraryItem(LibraryKind kind, const QString& caption) {
    QMenu* menu = LibrarySubmenu(kind);
    // A name from a tag may be of any length, and the menu is as wide as its widest item:
    // the item shows as much of the name as keeps the menu on the screen. "&" in a name is
    // text, not a mnemonic marker.
    const QString shown =
        playlist_panel_text::FitWidth(caption, menu->fontMetrics(), kLibraryItemWidth);
    auto* action = new QAction(menu->icon(), QString(shown).replace('&', "&&"), menu);
    connect(action, &QAction::triggered, this, [this, kind, caption] {
        if (CdMode) LeaveCdMode();
        if (AudioObject) AudioObject->LibraryNameChosen(kind, caption);
    });
    return action;
}

void TForm1::LibraryMenuItemInserted(LibraryKind kind, int position, const QString& caption) {
    if (UnbuiltLibraryItems[static_cast<int>(kind)]) return;  // the model's captions hold it
    QMenu* menu = LibrarySubmenu(kind);
    const QList<QAction*> items = menu->actions();
    menu->insertAction(position < items.size() ? items[position] : nullptr,
                       CreateLibraryItem(kind, caption));
}

void TForm1::LibraryMenuFilled(LibraryKind kind, const LibraryMenus& menus) {
    QMenu* menu = LibrarySubmenu(kind);
    for (QAction* action : menu->actions()) delete action;
    UnbuiltLibraryItems[static_cast<int>(kind)] = &menus;
}

void TForm1::SaveFailed(const QString& file) {
    ShowSaveFailure(this, {file});
}

void TForm1::BuildLibraryItems(LibraryKind kind) {
    const LibraryMenus* menus = std::exchange(UnbuiltLibraryItems[static_cast<int>(kind)], nullptr);
    if (!menus) return;
    const QStringList& captions = menus->Captions(kind);
    QList<QAction*> items;
    items.reserve(captions.size());
    for (const QString& caption : captions) items << CreateLibraryItem(kind, caption);
    LibrarySubmenu(kind)->addActions(items);
}

QFileDialog* TForm1::CreateFileDialog(const QString& title, const QString& filter,
                                      QFileDialog::FileMode mode) {
    auto* dialog = new QFileDialog(this, title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(mode);
    if (!filter.isEmpty()) dialog->setNameFilter(dialog_filter::ToQt(filter));
    return dialog;
}

QStringList TForm1::RunDialog(QFileDialog* dialog) {
    return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
}

void TForm1::RefreshPlaylistView() {
    if (!AudioObject) {
        ListBox1->clear();
        return;
    }
    // ShowTitles replaces every row itself: one reset of the box, not two.
    const int count = AudioObject->EntryCount();
    ListBox1->ShowTitles(
        count, [](int row) { return AudioObject ? AudioObject->GetEntryTitle(row) : QString(); });
    Label35->setText(playlist_panel_text::TotalsText(AudioObject->TotalLength(), count));
    FitTotalsLine();
}

void TForm1::EntryTitleArrived() {
    if (!CdMode) RefreshPlaylistView();
}

void TForm1::FitTotalsLine() {
    // The design's size, made smaller only as far as the whole line needs.
    QFont font = Label35->font();
    for (int pixels = 11; pixels >= 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(Label35->text()) <= Label35->width()) break;
    }
    Label35->setFont(font);
}

void TForm1::RepaintPlaylist() {
    ListBox1->viewport()->update();
}

void TForm1::SelectPlaylistRow(int index) {
    ListBox1->setCurrentRow(index >= 0 && index < ListBox1->count() ? index : -1);
}

void TForm1::ClearPlaylistView() {
    ListBox1->clear();
}

void TForm1::ShowAddingProgress(int done, int total) {
    Label35->setText(playlist_panel_text::AddingText(done, total));
    FitTotalsLine();
    // The adding holds the window thread: the window answers here, between two names.
    // Not before the program's event loop runs (the start's own add): the rest of the
    // program is not made yet, and a stop asked for then ends it only from that loop.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::processEvents();
}

void TForm1::AddingChanged(bool adding) {
    for (QAction* command : std::as_const(ListCommands)) command->setEnabled(!adding);
}

void TForm1::SetListCaption(const QString& text) {
    Label34->setText(text);
}

void TForm1::ListBox1DblClick() {
    const int row = ListBox1->currentRow();
    if (row < 0 || !AudioObject) return;
    if (CdMode) {
        PlayCdTrack(CdDrive, row);
    } else {
        AudioObject->PlayEntry(row);
    }
}

void TForm1::AddFolderCommand() {
    if (!AudioObject) return;
    QFileDialog* browse =
        CreateFileDialog(QStringLiteral("Add Direcory"), QString(), QFileDialog::Directory);
    browse->setOption(QFileDialog::ShowDirsOnly);
    browse->setDirectory(QDir::home());
    const QStringList chosen = RunDialog(browse);
    delete browse;  // now: its leftovers (the name completion) must not stay up while adding
    if (chosen.isEmpty()) return;
    AudioObject->AddSources(folder_scan::EntriesToAdd(chosen.first()));
    RefreshPlaylistView();
}

void TForm1::DeleteSelectedCommand() {
    const int row = ListBox1->currentRow();
    if (row < 0 || !AudioObject) return;
    if (AudioObject->PlayState == TransportState::Playing &&
        AudioObject->GetEntryTitle(row) == AudioObject->Title)
        StopPlayback();
    AudioObject->DeleteEntry(row);
    RefreshPlaylistView();
}

void TForm1::LoadPlaylistCommand() {
    if (!AudioObject) return;
    QFileDialog* open = CreateFileDialog(QString(), QStringLiteral("Playlist|*.pls;*.m3u"),
                                         QFileDialog::ExistingFile);
    const QStringList chosen = RunDialog(open);
    open->deleteLater();
    if (!chosen.isEmpty()) {
        // Relative entries of the list resolve against its folder.
        QDir::setCurrent(QFileInfo(chosen.first()).absolutePath());
        AudioObject->LoadPlaylistFile(chosen.first(), true);
    }
    RefreshPlaylistView();
}

void TForm1::SortByTitleCommand() {
    if (!AudioObject) return;
    ListBox1->clear();
    AudioObject->SortByTitle();
    RefreshPlaylistView();
}

void TForm1::SavePlsCommand() {
    SavePlaylistAs(QStringLiteral("Playlist (*.pls)|*.pls"), false);
}

void TForm1::SaveM3uCommand() {
    SavePlaylistAs(QStringLiteral("Playlist (*.m3u)|*.m3u"), true);
}

void TForm1::SavePlaylistAs(const QString& filter, bool m3u) {
    if (!AudioObject) return;
    SaveDialog1->setNameFilter(dialog_filter::ToQt(filter));
    // No overwrite prompt: a chosen name is written at once.
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList chosen = RunDialog(SaveDialog1);
    if (chosen.isEmpty()) return;
    // The dialog starts from the last chosen name the next time.
    SaveDialog1->selectFile(chosen.first());
    const bool saved = m3u ? AudioObject->SaveM3u(playlist_panel_text::M3uSavePath(chosen.first()))
                           : AudioObject->SavePls(chosen.first());
    if (!saved)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Не удалось сохранить список воспроизведения"));
}

void TForm1::ClearPlaylistCommand() {
    ListBox1->clear();
    if (!AudioObject) return;
    AudioObject->ClearPlaylist();
    AudioObject->Stop();
    SetPlayButtonGlyph(PlayGlyph::Play);
    Label35->clear();
}

void TForm1::TagEditor1Click() {
    const int row = ListBox1->currentRow();
    if (row < 0 || !AudioObject) {
        QMessageBox::information(this, windowTitle(), QStringLiteral("Не выбран объект"));
    } else if (!source_rules::IsMp3File(AudioObject->GetEntryFile(row))) {
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Данная опция доступна только для mp3 файлов"));
    } else {
        ShowWindow(Form6);
    }
}

void TForm1::SongSearchCommand() {
    ShowWindow(Form7);
}

void TForm1::DefaultPlaylistCommand() {
    if (CdMode) LeaveCdMode();
    if (!AudioObject) return;
    const QString folder = QString::fromStdString(programDataFolder().string());
    QDir::setCurrent(folder);
    const QString list = folder + QStringLiteral("/Default.pls");
    if (QFileInfo::exists(list)) {
        AudioObject->LoadPlaylistFile(list, true);
        RefreshPlaylistView();
    }
    AudioObject->PlayEntry(0);
}
