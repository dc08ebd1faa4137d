#include "bridge/pagescripts.h"

namespace kivo::bridge::pagescripts {

// The form and the element an argument names, or an error that says which is missing.
#define KIVO_FORM_OF(arg)                                                                                              \
    "var form = document.forms[" arg ".form];"                                                                         \
    "if (!form) throw new Error('no form at index ' + " arg ".form);"
#define KIVO_ELEMENT_OF(arg)                                                                                           \
    KIVO_FORM_OF(arg)                                                                                                  \
    "var element = form.elements[" arg ".element];"                                                                    \
    "if (!element) throw new Error('no element at position ' + " arg ".element);"

const platform::PageScript kFormFields{"formFields", "function (a) {" KIVO_FORM_OF("a") R"JS(
    var fields = [];
    for (var i = 0; i < form.elements.length; ++i) {
        var e = form.elements[i];
        var options = null;
        if (e.options) {
            options = [];
            for (var j = 0; j < e.options.length; ++j) {
                options.push({value: e.options[j].value, text: e.options[j].text});
            }
        }
        fields.push({
            name: typeof e.name === 'string' ? e.name : '',
            value: typeof e.value === 'string' ? e.value : null,
            checked: typeof e.checked === 'boolean' ? e.checked : null,
            selectedIndex: typeof e.selectedIndex === 'number' ? e.selectedIndex : null,
            options: options
        });
    }
    return fields;
})JS"};

const platform::PageScript kSetField{"setField", "function (a) {" KIVO_ELEMENT_OF("a") R"JS(
    if (!(a.property in element)) throw new Error('the element has no ' + a.property);
    element[a.property] = a.value;
})JS"};

const platform::PageScript kSelectOption{"selectOption", "function (a) {" KIVO_ELEMENT_OF("a") R"JS(
    if (!element.options || !element.options[a.option]) throw new Error('no option at position ' + a.option);
    element.options[a.option].selected = true;
})JS"};

const platform::PageScript kLink{"link", R"JS(function (a) {
    var link = document.links[a.index];
    if (!link) throw new Error('no link at index ' + a.index);
    return link.href;
})JS"};

const platform::PageScript kImage{"image", R"JS(function (a) {
    var image = document.images[a.index];
    if (!image) throw new Error('no image at index ' + a.index);
    return image.src;
})JS"};

const platform::PageScript kSource{"source", R"JS(function () {
    if (!document.all[0]) throw new Error('the document has no elements');
    return document.all[0].outerHTML;
})JS"};

const platform::PageScript kTitle{"title", "function () { return document.title; }"};

#undef KIVO_ELEMENT_OF
#undef KIVO_FORM_OF

} // namespace kivo::bridge::pagescripts
