#pragma once
// The main window over the real audio object, in a test's own folder, on the engine's
// sound files (PLAYER_FIXTURES_DIR), through the output device that the binary opens
// once. The timers are stopped: tests call their handlers, so each step is seen on its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <filesystem>

#include "player/engine/audio_object.h"
#include "player/ui/main_window.h"
#include "soundlib/soundlib.h"
#include "testing/qt_path.h"
#include "testing/sound_device.h"
#include "testing/temp_dir.h"

namespace testing_support {

// The item at this path of captions through the menu and its submenus.
inline QAction* findItem(QMenu* menu, const QStringList& path) {
    for (QAction* action : menu->actions()) {
        if (action->text() != path.first()) continue;
        if (path.size() == 1) return action;
        if (QMenu* submenu = action->menu()) {
            emit submenu->aboutToShow();  // as opening it does: some menus fill only then
            return findItem(submenu, path.mid(1));
        }
    }
    return nullptr;
}

struct PlayerWindowFixture : ::testing::Test {
    TempDir dir;
    TForm1 form;
    TAudioObject audio{form, dir / "AllMusik.aml"};

    PlayerWindowFixture() {
        AudioObject = &audio;
        form.Timer1->stop();
        form.Timer2->stop();
        form.show();
        QApplication::processEvents();
    }
    ~PlayerWindowFixture() override { AudioObject = nullptr; }

    // A copy of a fixture under another name in the test's folder.
    QString file(const char* fixture, const QString& name) {
        const std::filesystem::path copy = dir / name.toStdString();
        std::filesystem::copy_file(std::filesystem::path(PLAYER_FIXTURES_DIR) / fixture, copy);
        return q(copy);
    }
    // Songs entered as the menus enter them: the first new one starts.
    void add(const QStringList& files) {
        audio.AddSources(files);
        form.RefreshPlaylistView();
    }
    void trigger(QMenu* menu, const QStringList& path) {
        QAction* action = findItem(menu, path);
        ASSERT_TRUE(action) << path.join(" > ").toStdString();
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
    }
};

}  // namespace testing_support
