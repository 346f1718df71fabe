// Pictures of the update wizard's pages, run against an update server (for example the
// tests' update_server.py on 127.0.0.1), for looking at the window:
//   update_window_picture SERVER OUT_DIR
// The list should offer at least two files; the first two are ticked and fetched. The
// offline page is drawn by a second window that is told there is no connection.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "player/update/update_window.h"

namespace {

bool waitFor(const std::function<bool()>& done, int milliseconds = 20000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void settle(int milliseconds) {
    waitFor([] { return false; }, milliseconds);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvan"));
    if (argc < 3) {
        std::fprintf(stderr, "usage: update_window_picture SERVER OUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    QTemporaryDir program;
    QDir(program.path()).mkpath(QStringLiteral("Update"));
    UpdateOptions options;
    options.server = QString::fromLocal8Bit(argv[1]);
    options.folder = program.path().toStdString();
    options.transfer.agent = "Tavrel FIG";
    int failures = 0;
    const auto shot = [&](QWidget& window, const char* name) {
        settle(300);
        const QString file = out + QLatin1Char('/') + QLatin1String(name) + ".png";
        if (!window.grab().save(file)) ++failures;
        std::printf("%s\n", qPrintable(file));
        std::fflush(stdout);
    };

    TForm2 form(options);
    form.move(40, 40);
    form.show();
    shot(form, "0-folder");
    form.NextBtnClick();
    shot(form, "1-ready");
    form.NextBtnClick();
    if (!waitFor([&] { return form.CancelBtn->isEnabled(); })) ++failures;
    for (int row = 0; row < 2 && row < form.CheckListBox1->count(); ++row)
        form.CheckListBox1->item(row)->setCheckState(Qt::Checked);
    shot(form, "2-list");
    form.NextBtnClick();
    settle(1200);
    shot(form, "3-downloading");
    if (!waitFor([&] { return form.NextBtn->isEnabled(); })) ++failures;
    shot(form, "4-loaded");
    form.NextBtnClick();
    shot(form, "5-done");
    form.hide();

    options.connected = [] { return false; };
    TForm2 offline(options);
    offline.move(40, 40);
    offline.show();
    offline.NextBtnClick();
    offline.NextBtnClick();
    shot(offline, "6-offline");
    return failures == 0 ? 0 : 1;
}
