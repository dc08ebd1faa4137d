#include "jsoncommand.h"

#include "service/json/jsonparser.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"

#include <iostream>
#include <iterator>
#include <string>

namespace kivo::tools {

int runJsonCommand(std::istream& in, std::ostream& out) {
    const std::string input{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const json::JsonValue root = json::JsonParse(json::Utf8ToUtf16(input));
    out << json::Utf16ToUtf8(json::JsonText(root)) << '\n' << json::Utf16ToUtf8(json::JsonErrors());
    out.flush();
    return root.isNothing() ? 1 : 0;
}

} // namespace kivo::tools
