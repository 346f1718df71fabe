#pragma once
// The version report: what the main window's "Files Version" button and the About
// window's "Версия" page show about the program's files and the sound device.
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/version_record.h"
#include "soundlib/soundlib.h"

// The report lines of one record: signature, the four file version numbers, the flag
// lines set in both the mask and the flags, then the translation and the texts.
QStringList VersionReportLines(const platform::VersionRecord& record);

// Appends the report of `fileName` to `box`; a bare name is looked for beside the
// program. A missing file or one without a record adds nothing.
void ReportFileVersion(QPlainTextEdit* box, const QString& fileName);

// Appends the report of the program, Songmeta and Ctxmenu, each followed by an empty line.
void ReportProgramFiles(QPlainTextEdit* box);

// What the device lines are made of, so that a test can stand in for the sound library.
struct DeviceReportSource {
    std::function<SoundDeviceInfo()> info;
    std::function<const char*(int device)> description;
};
DeviceReportSource SoundLibraryDevices();

// Appends the device lines: rates, output interface generation, speakers, then every
// output's description. `oldInterface` runs right after the generation line when that
// is below 9 (the main window shows its warning box there).
void ReportDevice(QPlainTextEdit* box, const DeviceReportSource& source,
                  const std::function<void()>& oldInterface);
