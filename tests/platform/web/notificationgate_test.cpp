// Which pages' notifications reach the desktop: the engine hands over every page's.
#include "platform/web/notificationgate.h"
#include "fakenotification.h"

#include <gtest/gtest.h>

namespace kivo::platform {
namespace {

TEST(NotificationGate, OnlyTheAllowedOriginsReachTheDesktop) {
    QStringList shown;
    const auto gate = GateNotifications([](const QString& origin) { return origin == "http://127.0.0.1:8765"; },
                                        [&](const std::shared_ptr<PageNotification>& n) { shown << n->title(); });
    gate(std::make_shared<test::FakeNotification>("审批", "", "http://127.0.0.1:8765"));
    gate(std::make_shared<test::FakeNotification>("广告", "", "https://ads.example"));
    gate(std::make_shared<test::FakeNotification>("端口", "", "http://127.0.0.1:1"));
    gate(nullptr);
    EXPECT_EQ(shown, QStringList{"审批"});

    const auto closed = GateNotifications({}, [&](const std::shared_ptr<PageNotification>& n) { shown << n->title(); });
    closed(std::make_shared<test::FakeNotification>("无规则", "", "http://127.0.0.1:8765"));
    EXPECT_EQ(shown.size(), 1) << "without a rule nothing passes";
}

} // namespace
} // namespace kivo::platform
