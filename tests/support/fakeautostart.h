#pragma once

#include "platform/desktop/autostart.h"

namespace kivo::test {

// An autostart that remembers whether it is on and can be told to refuse.
class FakeAutostart : public platform::Autostart {
public:
    bool enable(std::string& error) override {
        ++enables;
        if (refuse) {
            error = "refused";
            return false;
        }
        enabled = true;
        return true;
    }
    bool disable(std::string&) override {
        ++disables;
        enabled = false;
        return true;
    }
    bool isEnabled() const override { return enabled; }
    std::filesystem::path location() const override { return "/fake/autostart.desktop"; }

    bool enabled = false;
    bool refuse = false;
    int enables = 0;
    int disables = 0;
};

} // namespace kivo::test
