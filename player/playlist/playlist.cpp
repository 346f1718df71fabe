#include "player/playlist/playlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/ini_document.h"
#include "platform/text.h"
#include "player/playlist/internet_address.h"

namespace {

namespace text = platform::text;

const char* const kSection = "playlist";

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// What makes two entries the same file: a local path as it is written, since a Linux
// file system tells "track.mp3" from "TRACK.mp3"; an internet address without regard to
// case.
QString sameFileText(const QString& file) {
    return internet_address::IsSource(file) ? file.toCaseFolded() : file;
}

QString trimControls(const QString& s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= 32) ++b;
    while (e > b && s[e - 1].unicode() <= 32) --e;
    return s.mid(b, e - b);
}

// The name part of a path or address (after its last '/', '\' or ':') without its
// extension (from the last full stop of the name part).
QString nameWithoutExtension(const QString& path) {
    qsizetype cut = -1;
    for (const QChar sep : {QChar('/'), QChar('\\'), QChar(':')})
        cut = std::max(cut, path.lastIndexOf(sep));
    QString name = path.mid(cut + 1);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) name.truncate(dot);
    return name;
}

// A length as decimal text; anything that is not a decimal integer becomes "0".
QString lengthText(const QString& s) {
    bool ok = false;
    const int v = s.trimmed().toInt(&ok, 10);
    return QString::number(ok ? v : 0);
}

// "C:\..." or "C:/..." and "\\server\..." name files of the original platform; joining
// them to a folder would only make a longer name that cannot exist either.
bool isForeignAbsolutePath(const QString& s) {
    if (s.startsWith("\\\\")) return true;
    return s.size() >= 3 && s[0].isLetter() && s[0].unicode() < 128 && s[1] == ':' &&
           (s[2] == '\\' || s[2] == '/');
}

// What a key of the playlist section names: "File"k, "Title"k or "Length"k (any case) of
// entry k, written without leading zeros.
struct EntryKey {
    enum Kind : std::uint8_t { File = 1, Title = 2, Length = 4 };
    Kind kind;
    int number;
};

std::optional<EntryKey> entryKey(std::string_view key) {
    constexpr std::pair<std::string_view, EntryKey::Kind> kPrefixes[] = {
        {"FILE", EntryKey::File}, {"TITLE", EntryKey::Title}, {"LENGTH", EntryKey::Length}};
    for (const auto& [prefix, kind] : kPrefixes) {
        if (const auto k = platform::IniDocument::numberedKey(key, prefix))
            return EntryKey{kind, *k};
    }
    return std::nullopt;
}

// Appends a PLS value as written: line breaks become spaces, and a value whose
// surrounding blanks or enclosing quotation marks a reader drops gets one more pair of
// quotation marks, so that it reads back whole (a song called "Heroes", quotation marks
// included).
void appendPlsValue(std::string& out, const QString& value) {
    const QByteArray bytes = value.toUtf8();
    const std::size_t at = out.size();
    out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    text::breaksToSpaces(out, at);
    if (out.size() == at) return;
    const auto first = static_cast<unsigned char>(out[at]);
    const auto last = static_cast<unsigned char>(out.back());
    const bool quoted = out.size() - at >= 2 && (first == '"' || first == '\'') && last == first;
    if (first <= 32 || last <= 32 || quoted) {
        out.insert(at, 1, '"');
        out.push_back('"');
    }
}

std::string plsValue(const QString& value) {
    std::string out;
    appendPlsValue(out, value);
    return out;
}

// The local path a "file:" URL names, as other players on this system write their
// playlists; nothing for any other text.
std::optional<QString> localPathOfUrl(const QString& s) {
    if (!s.startsWith(QLatin1String("file:/"), Qt::CaseInsensitive)) return std::nullopt;
    QUrl url(s);
    if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        url.setHost(QString());
    if (!url.isValid() || !url.isLocalFile()) return std::nullopt;
    return QDir::cleanPath(url.toLocalFile());
}

}  // namespace

bool TPlaylist::LoadFromPls(const QString& path, bool clearFirst) {
    listFileName_ = path;
    if (clearFirst) ClearAll();
    // The file's text, let go of before the duplicate check's counts are made, so that the
    // two, each large for a long list, are never held together.
    std::optional<std::string> text = platform::IniDocument::readText(toPath(path));
    if (!text) return false;
    // The section is read through twice, in file order, without a document of the file:
    // first the entry numbers its keys name and the declared count, then the values.
    const auto forEachEntry = [&text](const auto& visit) {
        platform::IniDocument::forEachEntryIn(*text, kSection, visit);
    };
    std::vector<int> numbers;
    std::optional<int> declared;
    forEachEntry([&](std::string_view key, std::string_view value) {
        if (const auto entry = entryKey(key)) {
            numbers.push_back(entry->number);
        } else if (!declared && text::equalsNoCase(key, "NumberOfEntries")) {
            declared = platform::IniDocument::toInteger(value).value_or(0);
        }
    });
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    const int named = static_cast<int>(std::min<std::size_t>(numbers.size(), kMaxPlsEntries));
    const int count = std::min({declared.value_or(0), numbers.empty() ? 0 : numbers.back(),
                                named + kMaxUnnamedPlsEntries, kMaxPlsEntries});
    numbers = {};
    if (count <= 0) return true;
    // Every entry starts as one no key names (empty file and title, length "0"); the
    // first key of each name then gives its value.
    const qsizetype first = files_.size();
    files_.resize(first + count);
    titles_.resize(first + count);
    lengths_.resize(first + count, QStringLiteral("0"));
    std::vector<std::uint8_t> given(static_cast<std::size_t>(count), 0);
    const QString folder = QFileInfo(path).absolutePath();
    forEachEntry([&](std::string_view key, std::string_view value) {
        const auto entry = entryKey(key);
        if (!entry || entry->number > count) return;
        std::uint8_t& kinds = given[static_cast<std::size_t>(entry->number - 1)];
        if (kinds & entry->kind) return;
        kinds |= entry->kind;
        const qsizetype at = first + entry->number - 1;
        switch (entry->kind) {
            case EntryKey::File: {
                const QString raw = fromUtf8(value);
                files_[at] = ResolveEntryPath(raw, folder);
                // Until a title key says otherwise.
                if (!(kinds & EntryKey::Title)) titles_[at] = nameWithoutExtension(raw);
                break;
            }
            case EntryKey::Title:
                titles_[at] = fromUtf8(value);
                break;
            case EntryKey::Length:
                lengths_[at] = lengthText(fromUtf8(value));
                break;
        }
    });
    text.reset();
    given = {};
    fileCounts_.reserve(fileCounts_.size() + count);
    for (qsizetype i = first; i < files_.size(); ++i) ++fileCounts_[fileKey(files_[i])];
    return true;
}

bool TPlaylist::LoadFromM3u(const QString& path, bool clearFirst) {
    listFileName_ = path;
    if (clearFirst) ClearAll();
    std::error_code error;
    const std::optional<std::string> bytes = platform::readFileBytes(toPath(path), error);
    if (!bytes) return false;
    const std::string content = text::decodeFileText(*bytes);
    const QString folder = QFileInfo(path).absolutePath();

    struct Info {
        QString title;
        QString length;
    };
    std::optional<Info> pending;  // the last "#EXTINF:" line not yet given to a file line
    std::string_view rest = content;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end);
        if (!rest.empty()) rest.remove_prefix(rest.starts_with("\r\n") ? 2 : 1);

        const std::string_view trimmed = text::trim(line);
        if (trimmed.empty()) continue;
        if (trimmed.front() != '#') {
            const QString raw = fromUtf8(trimmed);
            append(ResolveEntryPath(raw, folder),
                   pending ? pending->title : nameWithoutExtension(raw),
                   pending ? lengthText(pending->length) : QString("0"));
            pending.reset();
            continue;
        }
        if (text::asciiUpper(trimmed.substr(0, 8)) != "#EXTINF:") continue;
        // Cut after the prefix as it stands once leading blanks are gone.
        const std::string_view info = text::trimLeft(line);
        const std::size_t comma = info.find(',');
        if (comma == std::string_view::npos) {
            pending = Info{fromUtf8(info), QString()};
        } else {
            pending = Info{fromUtf8(info.substr(comma + 1)), fromUtf8(info.substr(8, comma - 8))};
        }
    }
    return true;
}

void TPlaylist::writeEntries(platform::IniDocument& doc) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string number = std::to_string(i + 1);
        doc.writeString(kSection, "File" + number, plsValue(files_[i]));
        doc.writeString(kSection, "Title" + number, plsValue(titles_[i]));
        doc.writeString(kSection, "Length" + number, plsValue(lengths_[i]));
    }
    doc.writeInteger(kSection, "NumberOfEntries", Count());
}

bool TPlaylist::SaveToPls(const QString& path) const {
    const QString target = path.contains(".pls", Qt::CaseInsensitive) ? path : path + ".pls";
    std::error_code error;
    if (!std::filesystem::exists(toPath(target), error) && !error)
        return platform::writeFileAtomically(toPath(target), PlsText());
    // Other keys and sections of the file stay.
    platform::IniDocument doc;
    if (!doc.open(toPath(target))) return false;
    writeEntries(doc);
    return doc.save();
}

std::string TPlaylist::PlsText() const {
    // As writeEntries() would write into an empty document, without looking up a key.
    std::string out = "[playlist]\n";
    // Room for the whole text where it is ASCII (keys, numbers and line ends take under
    // 48 bytes an entry), so a long list is not copied as the text grows.
    qsizetype size = 64;
    for (const QStringList* list : {&files_, &titles_, &lengths_})
        for (const QString& value : *list) size += value.size();
    out.reserve(static_cast<std::size_t>(size + 48 * Count()));
    const auto add = [&out](const char* key, int number, const QString& value) {
        out.append(key).append(std::to_string(number)).append("=");
        appendPlsValue(out, value);
        out.append("\n");
    };
    for (int i = 0; i < Count(); ++i) {
        add("File", i + 1, files_[i]);
        add("Title", i + 1, titles_[i]);
        add("Length", i + 1, lengths_[i]);
    }
    out.append("NumberOfEntries=").append(std::to_string(Count())).append("\n");
    return out;
}

bool TPlaylist::SaveToM3u(const QString& path) const {
    std::string out = "#EXTM3U\r\n";
    for (int i = 0; i < Count(); ++i) {
        out += text::oneLine(("#EXTINF:" + lengths_[i] + "," + titles_[i]).toStdString());
        out += "\r\n";
        out += text::oneLine(files_[i].toStdString());
        out += "\r\n";
    }
    return platform::writeFileAtomically(toPath(path), out);
}

QString TPlaylist::FileAt(int index) const {
    return files_.value(index);
}

QString TPlaylist::TitleAt(int index) const {
    return titles_.value(index);
}

int TPlaylist::LengthAt(int index) const {
    bool ok = false;
    const int v = lengths_.value(index).trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

void TPlaylist::AddEntry(const QString& file, const QString& title, int lengthMs) {
    if (FindFile(file) < 0) append(file, title, QString::number(lengthMs));
}

void TPlaylist::SetTitleAt(int index, const QString& title) {
    if (index >= 0 && index < Count()) titles_[index] = title;
}

void TPlaylist::RemoveAt(int index) {
    if (index < 0 || index >= Count()) return;
    const auto count = fileCounts_.find(fileKey(files_[index]));
    if (--count.value() == 0) fileCounts_.erase(count);
    files_.removeAt(index);
    titles_.removeAt(index);
    lengths_.removeAt(index);
}

void TPlaylist::ClearAll() {
    fileCounts_.clear();
    files_.clear();
    titles_.clear();
    lengths_.clear();
}

int TPlaylist::FindTitle(const QString& title) const {
    for (int i = 0; i < Count(); ++i)
        if (titles_[i].compare(title, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TPlaylist::FindFile(const QString& file) const {
    if (!fileCounts_.contains(fileKey(file))) return -1;
    const QString same = sameFileText(file);
    for (int i = 0; i < Count(); ++i)
        if (sameFileText(files_[i]) == same) return i;
    return -1;
}

QString TPlaylist::ResolveEntryPath(const QString& line, const QString& folder) {
    const QString name = trimControls(line);
    if (name.isEmpty() || internet_address::IsSource(name) || isForeignAbsolutePath(name))
        return name;
    if (const auto local = localPathOfUrl(name)) return *local;
    if (QDir::isAbsolutePath(name)) {
        // A path that cleaning leaves as it is needs no look-up: a long playlist reads
        // without a call to the file system per entry.
        const QString clean = QDir::cleanPath(name);
        return clean == name || !QFileInfo::exists(name) ? clean : name;
    }
    const QDir base(folder.isEmpty() ? QDir::currentPath() : folder);
    const QString full = QDir::cleanPath(base.absoluteFilePath(name));
    if (name.contains('\\') && !QFileInfo::exists(full)) {
        const QString slashed =
            QDir::cleanPath(base.absoluteFilePath(QString(name).replace('\\', '/')));
        if (QFileInfo::exists(slashed)) return slashed;
    }
    return full;
}

QString TPlaylist::ListName() const {
    return nameWithoutExtension(listFileName_);
}

void TPlaylist::SortTitles() {
    if (Count() < 2) return;
    // Sort keys: a character's windows-1251 byte, or 256 + its code point.
    std::vector<std::u32string> keys;
    keys.reserve(static_cast<std::size_t>(Count()));
    for (const QString& title : titles_) {
        std::u32string key;
        for (const char32_t cp : title.toUcs4()) {
            const int b = text::cp1251Byte(cp);
            key.push_back(b >= 0 ? static_cast<char32_t>(b) : 256 + cp);
        }
        keys.push_back(std::move(key));
    }
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    QStringList files, titles, lengths;
    for (const int i : order) {
        files.append(files_[i]);
        titles.append(titles_[i]);
        lengths.append(lengths_[i]);
    }
    files_ = std::move(files);
    titles_ = std::move(titles);
    lengths_ = std::move(lengths);
}

std::size_t TPlaylist::fileKey(const QString& file) {
    return qHash(sameFileText(file));
}

void TPlaylist::append(const QString& file, const QString& title, const QString& length) {
    ++fileCounts_[fileKey(file)];
    files_.append(file);
    titles_.append(title);
    lengths_.append(length);
}
