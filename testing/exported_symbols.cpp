#include "testing/exported_symbols.h"

#include "testing/child_process.h"

namespace testing_support {

std::set<std::string> exportedSymbols(const std::string& library) {
    ChildProcess nm({"/usr/bin/nm", "-D", "--defined-only", library});
    std::set<std::string> names;
    while (auto line = nm.readLine()) names.insert(line->substr(line->rfind(' ') + 1));
    return names;
}

}  // namespace testing_support
