// The window's desktop notices sent on a real session bus. Run by
// notice_on_bus.sh, which gives it a private bus with a notification
// service and counts the calls a monitor sees there.

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "app/desktop_notice.h"
#include "log/calendar.h"
#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

// The period so far from the 1st, 1 GiB a day up to today, with a limit of
// just that: all of it used, the warning due and nothing over.
TEST_F(Window, AWarningIsSentOnceThoughTheLogIsReadAgain) {
    const LogDate today = system_today();
    std::ofstream(dir_ / "log.ini") << "[path]\nlog=log.csv\n[allowance]\nlimit=" << today.day << " GiB\n";
    int sent = 0;
    notify_ = [&sent](const AllowanceNotice& notice) {
        ++sent;
        send_desktop_notice(notice);
    };
    start(log_of(days_from(today.year, today.month, 1, today.day), ",1073741824,0,"));
    form_->reload_log();
    form_->follow_log();
    EXPECT_EQ(sent, 1);
    EXPECT_TRUE(messages_.empty());
    // Answered once the calls before it have gone out on the bus.
    ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.Notifications")));
}

}  // namespace
