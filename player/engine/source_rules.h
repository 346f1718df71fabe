#pragma once
// How the audio object tells sources apart by their names.
#include <QString>

namespace source_rules {

// The extension of the name after its last "/", from the last "." on, dot included and
// upper-cased; empty when there is none.
QString UpperExtension(const QString& path);
// The name's extension is one the player plays: ".MP1" ".MP2" ".MP3" ".WAV" ".OGG" ".MOD"
// ".S3M" ".IT" ".UMX" ".MO3" ".MTM" ".XM" ".WMA".
bool IsPlayableFile(const QString& path);
// The name's extension is ".MP3" in any case: a file whose tags the player writes.
bool IsMp3File(const QString& path);
// The file name without folder and extension.
QString BareName(const QString& path);
// The open dialog's filter, without the "any file" pair.
QString OpenFilter();

}  // namespace source_rules
