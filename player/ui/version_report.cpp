#include "player/ui/version_report.h"

#include <QCoreApplication>

namespace {

QString hex(uint32_t value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QStringList VersionReportLines(const platform::VersionRecord& record) {
    QStringList lines;
    lines << QStringLiteral("Signature (should be invariably 0xFEEFO4BD): ") +
                 hex(record.signature, 8)
          << QStringLiteral("Major version number: %1").arg(record.fileVersionMs >> 16)
          << QStringLiteral("Minor version number: %1").arg(record.fileVersionMs & 0xFFFF)
          << QStringLiteral("Release version number: %1").arg(record.fileVersionLs >> 16)
          << QStringLiteral("Build version number: %1").arg(record.fileVersionLs & 0xFFFF);
    const uint32_t set = record.flagsMask & record.flags;
    const std::pair<uint32_t, const char*> flagLines[] = {
        {platform::VersionRecord::kDebug, "Debug info included"},
        {platform::VersionRecord::kPrerelease, "Pre-release (beta) version"},
        {platform::VersionRecord::kPrivateBuild, "Private Build"},
        {platform::VersionRecord::kSpecialBuild, "Special Build"},
    };
    for (const auto& [bit, text] : flagLines)
        if (set & bit) lines << QString::fromUtf8(text);
    auto text = [&](const char* name) { return QString::fromStdString(record.string(name)); };
    lines << QStringLiteral("Language: ") + hex(record.language, 4) + hex(record.codePage, 4)
          << QStringLiteral("File Description: ") + text("FileDescription")
          << QStringLiteral("File Version: ") + text("FileVersion")
          << QStringLiteral("Internal Name: ") + text("InternalName")
          << QStringLiteral("Legal Copyright: ") + text("LegalCopyright")
          << QStringLiteral("Product Name: ") + text("ProductName")
          << QStringLiteral("Product Version: ") + text("ProductVersion");
    return lines;
}

void ReportFileVersion(QPlainTextEdit* box, const QString& fileName) {
    const auto record =
        platform::readVersionRecord(platform::findBesideProgram(fileName.toStdString()));
    if (!record) return;
    for (const QString& line : VersionReportLines(*record)) box->appendPlainText(line);
}

void ReportProgramFiles(QPlainTextEdit* box) {
    for (const QString& file :
         {QCoreApplication::applicationFilePath(), QStringLiteral("libSongmeta.so"),
          QStringLiteral("libCtxmenu.so")}) {
        ReportFileVersion(box, file);
        box->appendPlainText(QString());
    }
}

DeviceReportSource SoundLibraryDevices() {
    return {[] {
                SoundDeviceInfo info{};
                info.size = 60;
                BASS_GetInfo(&info);
                return info;
            },
            [](int device) { return BASS_GetDeviceDescription(device); }};
}

void ReportDevice(QPlainTextEdit* box, const DeviceReportSource& source,
                  const std::function<void()>& oldInterface) {
    const SoundDeviceInfo info = source.info();
    box->appendPlainText(
        QStringLiteral("The minimum sample rate supported by the hardware: %1").arg(info.minrate));
    box->appendPlainText(
        QStringLiteral("The maximum sample rate supported by the hardware: %1").arg(info.maxrate));
    box->appendPlainText(QStringLiteral("DirectX version: %1").arg(info.dsver));
    if (info.dsver < 9 && oldInterface) oldInterface();
    box->appendPlainText(QStringLiteral("Supported speakers: %1").arg(info.speakers));
    for (int device = 0;; ++device) {
        const char* description = source.description(device);
        if (!description) break;
        box->appendPlainText(QString::fromUtf8(description));
    }
}
