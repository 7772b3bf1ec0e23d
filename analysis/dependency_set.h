#pragma once

#include <set>
#include <string>

namespace lintara {

// The lower-cased names of the packages that a package imports: distinct, non-empty byte strings
// in byte order, bytes compared as unsigned numbers and a string before any longer one that
// begins with it. std::string compares through char_traits<char>, which orders bytes as unsigned
// char, so the standard set gives exactly this order.
using DependencySet = std::set<std::string>;

} // namespace lintara
