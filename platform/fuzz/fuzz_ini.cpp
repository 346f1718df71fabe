// Feeds arbitrary text to the INI layer: parsing, every kind of read, writes that add and
// replace keys, erasing, and writing the document back out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::IniDocument doc;
    doc.parse(text);
    for (const std::string& section : doc.sections()) {
        doc.keyCount(section);
        for (const std::string& key : doc.keys(section)) {
            doc.readString(section, key);
            doc.readInteger(section, key, 0);
        }
    }
    const std::string_view head = text.substr(0, 16);
    doc.writeString(head, head, text.substr(head.size(), 64));
    doc.writeInteger("playlist", "NumberOfEntries", static_cast<int>(size));
    doc.eraseKey(head, "File1");
    doc.eraseSection(head);
    platform::IniDocument again;
    again.parse(doc.text());
    return 0;
}
