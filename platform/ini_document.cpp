#include "platform/ini_document.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "platform/file_io.h"
#include "platform/text.h"

namespace platform {
namespace {

// A value as read: surrounding blanks and one pair of enclosing quotation marks dropped.
std::string_view unquoted(std::string_view raw) {
    std::string_view v = text::trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// How names are compared: without regard to case and to surrounding blanks.
std::string nameKey(std::string_view name) {
    return text::foldCase(text::trim(name));
}

// One line of a text as the document reads it.
struct ScannedLine {
    std::size_t at = 0;  // its place in the text
    std::string_view text;
    std::size_t eq = 0;                      // a key line: 1 + the place of its '='; else 0
    std::optional<std::string_view> header;  // a section header: its name
};

// Calls `onLine` with every line of `content` in order while it returns true.
template <typename OnLine>
void scanLines(std::string_view content, OnLine&& onLine) {
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = content.size();
        ScannedLine line;
        line.at = pos;
        line.text = content.substr(pos, end - pos);
        pos = end;
        if (pos < content.size()) pos += content.substr(pos, 2) == "\r\n" ? 2 : 1;

        const std::string_view t = text::trim(line.text);
        const std::size_t close = t.rfind(']');
        const std::size_t eq = line.text.find('=');
        if (t.starts_with('[') && close != std::string_view::npos)
            line.header = text::trim(t.substr(1, close - 1));
        else if (!t.empty() && t.front() != ';' && eq != std::string_view::npos)
            line.eq = eq + 1;
        if (!onLine(line)) return;
    }
}

std::string_view keyIn(std::string_view line, std::size_t eq) {
    return text::trim(line.substr(0, eq - 1));
}

std::string_view valueIn(std::string_view line, std::size_t eq) {
    return unquoted(line.substr(eq));
}

bool isBlankLine(std::string_view line) {
    return text::trim(line).empty();
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<int> parseInteger(std::string_view s) {
    const std::size_t prefix =
        s.starts_with("0x") || s.starts_with("0X") ? 2 : (s.starts_with('$') ? 1 : 0);
    if (prefix > 0) {
        const std::string_view hex = s.substr(prefix);
        if (hex.empty()) return std::nullopt;
        std::uint64_t v = 0;
        for (char c : hex) {
            const int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<std::uint64_t>(d);
            if (v > 0xFFFFFFFFu) return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > static_cast<std::int64_t>(INT32_MAX) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace

bool IniDocument::open(const std::filesystem::path& file) {
    path_ = file;
    std::optional<std::string> read = readText(file);
    const bool ok = read.has_value();
    text_ = ok ? std::move(*read) : std::string();
    read.reset();
    parseText();
    return ok;
}

std::optional<std::string> IniDocument::readText(const std::filesystem::path& file) {
    std::error_code error;
    std::optional<std::string> bytes = readFileBytes(file, error);
    if (!bytes)
        return error == std::errc::no_such_file_or_directory ? std::optional<std::string>("")
                                                             : std::nullopt;
    // A large file is held once, not twice, while it is decoded.
    return text::decodeOwnedFileText(std::move(*bytes));
}

void IniDocument::parse(std::string_view content) {
    text_ = std::string(content);
    parseText();
}

void IniDocument::parseText() {
    written_.clear();
    sections_.clear();
    index_.clear();
    lastFound_ = kNone;
    hasDuplicateSections_ = false;
    const std::string_view content = text_;
    const std::size_t firstBreak = content.find_first_of("\r\n");
    lineEnd_ = content.substr(firstBreak == std::string_view::npos ? 0 : firstBreak, 2) == "\r\n"
                   ? "\r\n"
                   : "\n";
    sections_.emplace_back();  // the lines before the first header
    scanLines(content, [this](const ScannedLine& line) {
        Line entry;
        entry.at = line.at;
        entry.size = static_cast<std::uint32_t>(line.text.size());
        if (line.header) {
            addSection(std::string(*line.header), entry);
            return true;
        }
        if (line.eq > 0) {
            entry.eq = static_cast<std::uint32_t>(line.eq);
            ++sections_.back().keyLines;
        }
        sections_.back().lines.push_back(entry);
        return true;
    });
}

bool IniDocument::save() const {
    return !path_.empty() && writeFileAtomically(path_, text());
}

std::string IniDocument::text() const {
    std::string out;
    std::size_t size = text_.size();
    for (const std::string& block : written_) size += block.size();
    out.reserve(size);
    for (const Section& s : sections_) {
        if (s.erased) continue;
        if (s.header.size > 0) out.append(lineText(s.header)).append(lineEnd_);
        for (const Line& line : s.lines)
            if (!line.erased) out.append(lineText(line)).append(lineEnd_);
    }
    return out;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const Line* line = findLine(section, key);
    if (!line) return std::nullopt;
    return std::string(text::cutChars(valueOf(*line), kMaxValueChars));
}

std::string IniDocument::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(fallback);
}

int IniDocument::readInteger(std::string_view section, std::string_view key, int fallback) const {
    const Line* line = findLine(section, key);
    if (!line) return fallback;
    return parseInteger(valueOf(*line)).value_or(fallback);
}

std::optional<int> IniDocument::toInteger(std::string_view value) {
    return parseInteger(value);
}

std::optional<int> IniDocument::numberedKey(std::string_view key, std::string_view prefix) {
    if (key.size() <= prefix.size() || !text::equalsNoCase(key.substr(0, prefix.size()), prefix))
        return std::nullopt;
    const std::string_view digits = key.substr(prefix.size());
    if (digits.front() == '0') return std::nullopt;
    long long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = std::min<long long>(n * 10 + (c - '0'), INT32_MAX);
    }
    return static_cast<int>(n);
}

void IniDocument::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    const SectionId id = ensureSection(section);
    Section& s = sections_[id];
    const std::string keyName = text::oneLine(text::trim(key));
    auto& index = keyIndex(s);
    std::string folded = nameKey(keyName);
    const auto found = index.find(folded);
    if (found != index.end()) {
        replaceValue({id, found->second}, value);
        return;
    }
    addKeyLine(s, keyName, value, std::move(folded));
}

void IniDocument::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

IniDocument::SectionId IniDocument::ensureSection(std::string_view section) {
    const std::string name = text::oneLine(text::trim(section));
    const std::size_t at = sectionAt(name);
    if (at != kNone) return at;
    addSection(name, appendWritten("[" + name + "]", 0));
    return sections_.size() - 1;
}

std::optional<IniDocument::SectionId> IniDocument::findSectionId(std::string_view section) const {
    const std::size_t at = sectionAt(section);
    return at == kNone ? std::nullopt : std::optional<SectionId>(at);
}

IniDocument::KeyLine IniDocument::appendKey(SectionId section, std::string_view key,
                                            std::string_view value) {
    Section& s = sections_[section];
    const std::string keyName = text::oneLine(text::trim(key));
    // A section never searched has no index yet and needs none for this line.
    std::string folded = s.index ? nameKey(keyName) : std::string();
    return {section, addKeyLine(s, keyName, value, std::move(folded))};
}

void IniDocument::replaceValue(KeyLine at, std::string_view value) {
    // The key keeps its spelling in the file; written text never moves, so the key is
    // appended from where it lies.
    Line& line = sections_[at.section].lines[at.line];
    line = appendKeyValue(keyOf(line), value);
}

std::string_view IniDocument::valueAt(KeyLine at) const {
    return text::cutChars(valueOf(sections_[at.section].lines[at.line]), kMaxValueChars);
}

std::vector<std::string> IniDocument::sections() const {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (std::size_t i = 1; i < sections_.size(); ++i)
        if (!sections_[i].erased && seen.insert(nameKey(sections_[i].name)).second)
            names.push_back(sections_[i].name);
    return names;
}

std::vector<std::string> IniDocument::keys(std::string_view section) const {
    std::vector<std::string> names;
    const Section* s = findSection(section);
    if (!s) return names;
    keyIndex(*s);
    std::unordered_set<std::string> seen;
    for (const Line& line : s->lines)
        if (line.eq > 0 && !line.erased &&
            (!s->hasDuplicateKeys || seen.insert(nameKey(keyOf(line))).second))
            names.emplace_back(keyOf(line));
    return names;
}

void IniDocument::forEachEntry(
    std::string_view section,
    const std::function<void(std::string_view key, std::string_view value)>& visit) const {
    const Section* s = findSection(section);
    if (!s) return;
    for (const Line& line : s->lines)
        if (line.eq > 0 && !line.erased)
            visit(keyOf(line), text::cutChars(valueOf(line), kMaxValueChars));
}

void IniDocument::forEachEntryIn(
    std::string_view text, std::string_view section,
    const std::function<void(std::string_view key, std::string_view value)>& visit) {
    const std::string wanted = nameKey(section);
    bool inside = false;  // the first section of that name, the one a document finds
    scanLines(text, [&](const ScannedLine& line) {
        if (line.header) {
            if (inside) return false;
            inside = nameKey(*line.header) == wanted;
        } else if (inside && line.eq > 0) {
            visit(keyIn(line.text, line.eq),
                  text::cutChars(valueIn(line.text, line.eq), kMaxValueChars));
        }
        return true;
    });
}

std::size_t IniDocument::keyCount(std::string_view section) const {
    const Section* s = findSection(section);
    return s ? s->keyLines : 0;
}

bool IniDocument::hasSection(std::string_view section) const {
    return findSection(section) != nullptr;
}

bool IniDocument::eraseSection(std::string_view section) {
    const std::string folded = nameKey(section);
    const auto found = index_.find(folded);
    if (found == index_.end()) return false;
    const std::size_t at = found->second;
    sections_[at].erased = true;
    index_.erase(found);
    lastFound_ = kNone;
    if (hasDuplicateSections_) {
        for (std::size_t i = at + 1; i < sections_.size(); ++i) {
            if (!sections_[i].erased && nameKey(sections_[i].name) == folded) {
                index_.emplace(folded, i);
                break;
            }
        }
    }
    return true;
}

bool IniDocument::eraseKey(std::string_view section, std::string_view key) {
    Section* s = findSection(section);
    if (!s) return false;
    auto& index = keyIndex(*s);
    const std::string folded = nameKey(key);
    const auto found = index.find(folded);
    if (found == index.end()) return false;
    const std::size_t at = found->second;
    s->lines[at].erased = true;
    --s->keyLines;
    index.erase(found);
    if (s->hasDuplicateKeys) reindexKey(*s, folded, at + 1);
    return true;
}

std::string_view IniDocument::lineText(const Line& line) const {
    if (!line.written) return std::string_view(text_).substr(line.at, line.size);
    const std::string& block = written_[line.at >> 32];
    return std::string_view(block).substr(line.at & 0xFFFFFFFFu, line.size);
}

std::string_view IniDocument::keyOf(const Line& line) const {
    return keyIn(lineText(line), line.eq);
}

std::string_view IniDocument::valueOf(const Line& line) const {
    return valueIn(lineText(line), line.eq);
}

std::pair<IniDocument::Line, std::string*> IniDocument::startWritten(std::size_t size,
                                                                     std::size_t eq) {
    if (written_.empty() || written_.back().capacity() - written_.back().size() < size) {
        // A few writes cost a small block, a large batch of them few blocks.
        constexpr std::size_t kFirstBlock = 4096;
        constexpr std::size_t kLargestBlock = 1024 * 1024;
        const std::size_t last = written_.empty() ? kFirstBlock / 2 : written_.back().capacity();
        written_.emplace_back().reserve(std::max(std::min(2 * last, kLargestBlock), size));
    }
    std::string& block = written_.back();
    Line line;
    line.at = writtenPlace(written_.size() - 1, block.size());
    line.written = 1;
    line.size = static_cast<std::uint32_t>(size);
    line.eq = static_cast<std::uint32_t>(eq);
    return {line, &block};
}

IniDocument::Line IniDocument::appendWritten(std::string_view text, std::size_t eq) {
    const auto [line, block] = startWritten(text.size(), eq);
    block->append(text);
    return line;
}

IniDocument::Line IniDocument::appendKeyValue(std::string_view key, std::string_view value) {
    const auto [line, block] = startWritten(key.size() + 1 + value.size(), key.size() + 1);
    block->append(key).append(1, '=').append(value);
    text::breaksToSpaces(*block, block->size() - value.size());
    return line;
}

// New keys go after the section's last non-blank line: only blank or erased lines follow
// it, so no indexed position moves. `folded` is the key as the section's index holds it
// (unused while the section has no index).
std::size_t IniDocument::addKeyLine(Section& section, std::string_view key, std::string_view value,
                                    std::string folded) {
    std::size_t at = section.lines.size();
    while (at > 0 && (section.lines[at - 1].erased || isBlankLine(lineText(section.lines[at - 1]))))
        --at;
    section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at),
                         appendKeyValue(key, value));
    ++section.keyLines;
    if (section.index && !section.index->emplace(std::move(folded), at).second)
        section.hasDuplicateKeys = true;
    return at;
}

std::unordered_map<std::string, std::size_t>& IniDocument::keyIndex(const Section& section) const {
    if (!section.index) {
        auto& index = section.index.emplace();
        for (std::size_t i = 0; i < section.lines.size(); ++i) {
            const Line& line = section.lines[i];
            if (line.eq > 0 && !line.erased && !index.emplace(nameKey(keyOf(line)), i).second)
                section.hasDuplicateKeys = true;
        }
    }
    return *section.index;
}

const IniDocument::Line* IniDocument::findLine(std::string_view section,
                                               std::string_view key) const {
    const Section* s = findSection(section);
    if (!s) return nullptr;
    const auto& index = keyIndex(*s);
    const auto found = index.find(nameKey(key));
    return found == index.end() ? nullptr : &s->lines[found->second];
}

std::size_t IniDocument::sectionAt(std::string_view section) const {
    if (lastFound_ != kNone && section == lastAsked_) return lastFound_;
    const auto found = index_.find(nameKey(section));
    if (found == index_.end()) return kNone;
    lastAsked_ = section;
    lastFound_ = found->second;
    return lastFound_;
}

IniDocument::Section* IniDocument::findSection(std::string_view section) {
    const std::size_t at = sectionAt(section);
    return at == kNone ? nullptr : &sections_[at];
}

const IniDocument::Section* IniDocument::findSection(std::string_view section) const {
    const std::size_t at = sectionAt(section);
    return at == kNone ? nullptr : &sections_[at];
}

IniDocument::Section& IniDocument::addSection(std::string name, Line header) {
    if (!index_.emplace(nameKey(name), sections_.size()).second) hasDuplicateSections_ = true;
    Section& s = sections_.emplace_back();
    s.name = std::move(name);
    s.header = header;
    return s;
}

void IniDocument::reindexKey(Section& section, const std::string& folded, std::size_t from) {
    for (std::size_t i = from; i < section.lines.size(); ++i) {
        const Line& line = section.lines[i];
        if (line.eq > 0 && !line.erased && nameKey(keyOf(line)) == folded) {
            section.index->emplace(folded, i);
            return;
        }
    }
}

}  // namespace platform
