#include "player/engine/source_rules.h"

#include <QStringList>

namespace source_rules {

namespace {

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

QString UpperExtension(const QString& path) {
    const QString name = fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

bool IsPlayableFile(const QString& path) {
    static const QStringList playable = {".MP1", ".MP2", ".MP3", ".WAV", ".OGG", ".MOD", ".S3M",
                                         ".IT",  ".UMX", ".MO3", ".MTM", ".XM",  ".WMA"};
    return playable.contains(UpperExtension(path));
}

bool IsMp3File(const QString& path) {
    return UpperExtension(path) == QLatin1String(".MP3");
}

QString BareName(const QString& path) {
    const QString name = fileNameOf(path);
    return name.left(name.size() - UpperExtension(name).size());
}

QString OpenFilter() {
    return QStringLiteral(
        "mp1/mp2/mp3/wav/ogg/mod/s3m/it/umx/mo3/mtm/xm/wma|*.mp1;*.mp2;*.mp3;*.wav;*.ogg;*.mod;"
        "*.s3m;*.it;*.umx;*.mo3;*.mtm;*.xm;*.wma|Streams (mp1/mp2/mp3/wav/ogg/wma)|*.mp1;*.mp2;"
        "*.mp3;*.wav;*.ogg;*.wma|Trackers (mod/s3m/it/umx/mo3/mtm/xm)|*.mod;*.s3m;*.it;*.umx;"
        "*.mo3;*.mtm;*.xm|Playlist (pls/m3u)|*.pls;*.m3u");
}

}  // namespace source_rules
