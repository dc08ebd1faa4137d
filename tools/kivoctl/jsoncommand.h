#pragma once

#include <iosfwd>

namespace kivo::tools {

// `kivoctl json`: parses standard input and prints the JSON text of the result, a newline, then
// the parser's error log exactly as kept. 0 when a tree came back, 1 when nothing did.
int runJsonCommand(std::istream& in, std::ostream& out);

} // namespace kivo::tools
