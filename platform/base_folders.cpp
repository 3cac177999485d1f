// The base-directory rules: each user folder from its variable or from HOME, and the system data list.
#include "platform/base_folders.h"

#include <algorithm>

#include "platform/process_environment.h"

namespace platform {

namespace {

bool IsAbsolute(const std::optional<std::string>& path) { return path && !path->empty() && (*path)[0] == '/'; }

}  // namespace

std::string UserBaseFolder(BaseFolder which, const EnvironmentLookup& lookup) {
  const bool data = which == BaseFolder::DataHome;
  const std::optional<std::string> chosen = lookup(data ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME");
  if (IsAbsolute(chosen)) return *chosen;
  const std::optional<std::string> home = lookup("HOME");
  if (!IsAbsolute(home)) return {};
  const std::string under = data ? ".local/share" : ".config";
  return home->back() == '/' ? *home + under : *home + "/" + under;
}

std::vector<std::string> SystemDataFolders(const EnvironmentLookup& lookup) {
  const std::optional<std::string> set = lookup("XDG_DATA_DIRS");
  const std::string list = set && !set->empty() ? *set : "/usr/local/share:/usr/share";
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(':', start), list.size());
    std::optional<std::string> entry = list.substr(start, end - start);
    if (IsAbsolute(entry)) folders.push_back(*entry);
    start = end + 1;
  }
  return folders;
}

EnvironmentLookup ProcessEnvironment() { return EnvironmentVariable; }

}  // namespace platform
