#pragma once

#include "service/json/jsonvalue.h"

#include <string>
#include <vector>

namespace kivo::mainwin {

/// One entry of the top or left menu as the service configures it. Texts are UTF-8; an absent
/// field reads as the empty text or as "not 1".
struct MenuItem {
    std::string name;
    std::string pic;
    std::string pic_grey;
    std::string pic_blue;
    std::string url;
    std::string mark;
    bool current = false;
    bool leftMenu = false;
};

/// The one test for the configuration's flags: the number 1 or the text "1". Anything else,
/// whatever its kind, is "not 1" and never a conversion failure.
bool IsOne(const json::JsonValue& value);

/// The records of a parsed menu array; anything that is not an array gives no items, and an
/// element that is not an object gives an item whose fields are all empty.
std::vector<MenuItem> ReadMenuItems(const json::JsonValue& array);

} // namespace kivo::mainwin
