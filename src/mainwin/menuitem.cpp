#include "mainwin/menuitem.h"

#include "service/httprequest.h"
#include "service/json/collection.h"
#include "service/json/textcodec.h"

namespace kivo::mainwin {

bool IsOne(const json::JsonValue& value) {
    if (value.isNumber()) {
        return value.number() == json::Decimal(1);
    }
    return value.isText() && value.text() == u"1";
}

std::vector<MenuItem> ReadMenuItems(const json::JsonValue& array) {
    std::vector<MenuItem> items;
    const json::Collection* list = array.asCollection();
    if (list == nullptr) {
        return items;
    }
    for (const json::JsonValue& record : *list) {
        auto text = [&record](const char16_t* name) {
            return json::Utf16ToUtf8(service::FieldText(service::Field(record, name)));
        };
        MenuItem item;
        item.name = text(u"name");
        item.pic = text(u"pic");
        item.pic_grey = text(u"pic_grey");
        item.pic_blue = text(u"pic_blue");
        item.url = text(u"url");
        item.mark = text(u"mark");
        item.current = IsOne(service::Field(record, u"current"));
        item.leftMenu = IsOne(service::Field(record, u"leftMenu"));
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace kivo::mainwin
