#pragma once
// The names a shared library defines in its dynamic symbol table, as `nm -D
// --defined-only` lists them: what a program that loads it can reach.
#include <set>
#include <string>

namespace testing_support {

std::set<std::string> exportedSymbols(const std::string& library);

}  // namespace testing_support
