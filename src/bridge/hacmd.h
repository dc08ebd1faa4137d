#pragma once

#include "platform/script/scriptvalue.h"

#include <array>
#include <functional>
#include <string>

namespace kivo::bridge {

/// @brief The command object pages reach as "MyCMD": its one method CMD hands its six text
/// arguments (Action and A to E; the missing ones empty) unchanged to the main window's CMD.
class HACMD : public script::ScriptObject {
public:
    using Arguments = std::array<std::u16string, 6>;
    using Handler = std::function<void(const Arguments&)>;

    /// @brief The main window's CMD; the window installs it (and creates itself when needed).
    static void SetCommandHandler(Handler handler);

    bool hasMember(const std::u16string& lowerName) const override;
    script::Value call(const std::u16string& lowerName, std::vector<script::Value>& args) override;
};

} // namespace kivo::bridge
