#include "settings/storedchoice.h"

namespace kivo::settings {

std::optional<int> StoredChoice(std::string_view stored) {
    if (stored == "1") {
        return 1;
    }
    if (stored == "0" || stored.empty()) {
        return 0;
    }
    return std::nullopt;
}

} // namespace kivo::settings
