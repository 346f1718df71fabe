#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

#include "player/ui/about_window.h"
#include "player/ui/main_window.h"
#include "player/ui/version_report.h"
#include "soundlib/soundlib.h"

namespace {

const QString kBin = QStringLiteral(ZORVAN_BINARY_DIR "/bin/");

QStringList reportOf(const QString& file) {
    QPlainTextEdit box;
    ReportFileVersion(&box, file);
    return box.toPlainText().isEmpty() ? QStringList() : box.toPlainText().split('\n');
}

QStringList expectedLines(const QString& version, const QString& description,
                          const QString& internalName, const QString& product) {
    const QStringList parts = version.split('.');
    return {QStringLiteral("Signature (should be invariably 0xFEEFO4BD): FEEF04BD"),
            "Major version number: " + parts[0],
            "Minor version number: " + parts[1],
            "Release version number: " + parts[2],
            "Build version number: " + parts[3],
            QStringLiteral("Language: 0419FDE9"),
            "File Description: " + description,
            "File Version: " + version,
            "Internal Name: " + internalName,
            QStringLiteral("Legal Copyright: © Tavrel"),
            "Product Name: " + product,
            "Product Version: " + version};
}

}  // namespace

TEST(VersionReport, EachBuiltBinaryReportsItsRecord) {
    const QString programVersion = QStringLiteral(ZORVAN_VERSION ".0");
    struct Case {
        QString file;
        QStringList lines;
    };
    const Case cases[] = {
        {kBin + "zorvan", expectedLines(programVersion, QStringLiteral("Аудиопроигрыватель Zorvan"),
                                        "zorvan", "Zorvan")},
        // A bare name is found beside the program (the test binaries lie there too).
        {"libSongmeta.so",
         expectedLines("3.3.3.10", QStringLiteral("Определение информации о композиции"),
                       "libSongmeta.so", "Songmeta")},
    };
    for (const Case& c : cases) EXPECT_EQ(reportOf(c.file), c.lines) << c.file.toStdString();
}

TEST(VersionReport, FlagLinesOnlyWhenSetInBothMaskAndFlags) {
    const QStringList both = reportOf(kBin + "libversion_fixture_flags.so");
    ASSERT_GE(both.size(), 7);
    EXPECT_EQ(both.mid(5, 2), QStringList({"Debug info included", "Special Build"}));
    const QStringList maskOnly = reportOf(kBin + "libversion_fixture_mask_only.so");
    ASSERT_GE(maskOnly.size(), 6);
    EXPECT_TRUE(maskOnly[5].startsWith("Language: ")) << maskOnly[5].toStdString();
}

TEST(VersionReport, FilesWithoutARecordAddNothing) {
    for (const QString& file : {kBin + "no-such-file", QStringLiteral("libNoSuch.so"),
                                QStringLiteral(ZORVAN_SOURCE_DIR "/README.md"), kBin})
        EXPECT_TRUE(reportOf(file).isEmpty()) << file.toStdString();
}

TEST(VersionReport, DeviceLinesWarnAboutAnOldInterfaceInPlace) {
    const char* names[] = {"No sound", "Default output", "Card"};
    for (uint32_t generation : {8u, 9u}) {
        DeviceReportSource source{[generation] {
                                      SoundDeviceInfo info{};
                                      info.minrate = 8000;
                                      info.maxrate = 192000;
                                      info.dsver = generation;
                                      info.speakers = 2;
                                      return info;
                                  },
                                  [&](int device) { return device < 3 ? names[device] : nullptr; }};
        QPlainTextEdit box;
        QString linesAtWarning;
        int warnings = 0;
        ReportDevice(&box, source, [&] {
            ++warnings;
            linesAtWarning = box.toPlainText();
        });
        EXPECT_EQ(box.toPlainText(),
                  QStringLiteral("The minimum sample rate supported by the hardware: 8000\n"
                                 "The maximum sample rate supported by the hardware: 192000\n"
                                 "DirectX version: %1\n"
                                 "Supported speakers: 2\n"
                                 "No sound\nDefault output\nCard")
                      .arg(generation));
        EXPECT_EQ(warnings, generation < 9 ? 1 : 0);
        if (warnings) {
            EXPECT_TRUE(linesAtWarning.endsWith("DirectX version: 8"))
                << linesAtWarning.toStdString();
        }
    }
}

TEST(VersionReport, FilesVersionButtonFillsAndShowsTheLyricsBox) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    TForm1 form;
    form.Memo1->setPlainText("old lyrics");
    form.Button1->click();
    const QStringList lines = form.Memo1->toPlainText().split('\n');
    // The test program has no record, so the report begins with Songmeta's.
    const QStringList songmeta = reportOf("libSongmeta.so");
    EXPECT_EQ(lines.mid(0, songmeta.size() + 1), songmeta + QStringList{""});
    EXPECT_TRUE(lines.contains("DirectX version: 9"));
    EXPECT_TRUE(lines.contains("Supported speakers: 2"));
    EXPECT_TRUE(lines.contains("No sound"));
    EXPECT_FALSE(lines.contains("old lyrics"));
    EXPECT_TRUE(form.LyricsShown);
    EXPECT_FALSE(form.Memo1->isHidden());
    BASS_Free();
}

TEST(AboutWindow, PagesAndTexts) {
    TForm9 about;
    EXPECT_EQ(about.windowTitle(), "About");
    ASSERT_EQ(about.PageControl1->count(), 3);
    EXPECT_EQ(about.PageControl1->tabText(0), "Программа");
    EXPECT_EQ(about.PageControl1->tabText(1), "Версия");
    EXPECT_EQ(about.PageControl1->tabText(2), "Дополнительно");
    EXPECT_EQ(about.Label1->text(), "Zorvan v2.1 (январь 2004)");
    EXPECT_EQ(about.Memo2->toPlainText(), "Приятного прослушивания");
    QPlainTextEdit report;
    ReportProgramFiles(&report);
    EXPECT_EQ(about.Memo1->toPlainText(), report.toPlainText());
    EXPECT_TRUE(about.Memo1->isReadOnly());
    EXPECT_FALSE(about.Button1->isEnabled());

    // Every showing starts on the first page; the update button opens the update window
    // and closes the About window.
    about.PageControl1->setCurrentIndex(2);
    about.show();
    EXPECT_EQ(about.PageControl1->currentIndex(), 0);
    QWidget update;
    about.SetUpdateWindow(&update);
    about.Button1->click();
    EXPECT_TRUE(update.isVisible());
    EXPECT_FALSE(about.isVisible());
}
