#pragma once

#include "platform/web/browser.h"

namespace kivo::bridge::pagescripts {

// The scripts by which the bridge reads and writes the shown page. Each throws, with a
// description, where the page has no such form, element, link or image.

/// {form}: the form's elements in order, each {name, value, checked, selectedIndex, options:
/// [{value, text}]}; a property the element lacks is null.
extern const platform::PageScript kFormFields;
/// {form, element, property, value}: sets "value" or "checked" of one element.
extern const platform::PageScript kSetField;
/// {form, element, option}: selects one option of a list.
extern const platform::PageScript kSelectOption;
/// {index}: the address of a link.
extern const platform::PageScript kLink;
/// {index}: the address of an image.
extern const platform::PageScript kImage;
/// {}: the markup of the whole page.
extern const platform::PageScript kSource;
/// {}: the title.
extern const platform::PageScript kTitle;

} // namespace kivo::bridge::pagescripts
