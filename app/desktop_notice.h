#pragma once

#include "allowance/allowance_alerts.h"

namespace loglezer {

// Shows `notice` through the desktop's notification service
// (org.freedesktop.Notifications on the session bus) as "loglezer". The
// call is sent without waiting for its answer: without a session bus or a
// service, nothing is shown and nothing fails.
void send_desktop_notice(const AllowanceNotice& notice);

}  // namespace loglezer
