#pragma once

#include <string>

namespace kivo::bench {

// Generated, deterministic UTF-8 documents of about `bytes` bytes.
// menu: a menu configuration answer, ~2,000 records with Chinese names, paths and numbers.
std::string menuDocument(size_t bytes);
// mixed: nested objects and arrays, escapes, decimals, literals.
std::string mixedDocument(size_t bytes);

} // namespace kivo::bench
