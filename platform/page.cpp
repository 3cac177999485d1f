// The page's service (platform/page.h) over the operating-system calls: the browser's file answers, every other
// system's say there is no page.
#include "platform/page.h"

#include "platform/os/operating_system.h"

namespace platform {

bool InPage() { return os::InPage(); }

bool PageHidden() { return os::PageHidden(); }

void HoldWhileHidden(bool hold) { os::HoldWhileHidden(hold); }

void TellPage(const char* key, const std::string& value) { os::TellPage(key, value); }

}  // namespace platform
