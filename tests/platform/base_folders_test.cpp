// The base-directory rules on made-up environments: each user folder from its variable, from HOME, or none;
// the system data list with its default, relative entries skipped.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/base_folders.h"

namespace {

using Environment = std::map<std::string, std::string>;

platform::EnvironmentLookup LookupIn(const Environment& environment) {
  return [&environment](const char* name) -> std::optional<std::string> {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  };
}

TEST(BaseFolders, UserFoldersComeFromTheirVariableThenFromHome) {
  struct Case {
    Environment environment;
    std::string dataHome, configHome;
  };
  const Case cases[] = {
      {{{"HOME", "/h"}}, "/h/.local/share", "/h/.config"},
      {{{"HOME", "/h/"}}, "/h/.local/share", "/h/.config"},
      {{{"HOME", "/h"}, {"XDG_DATA_HOME", "/d"}, {"XDG_CONFIG_HOME", "/c"}}, "/d", "/c"},
      // Empty and relative values count as unset.
      {{{"HOME", "/h"}, {"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", "rel/c"}}, "/h/.local/share", "/h/.config"},
      {{{"XDG_DATA_HOME", "/d"}}, "/d", ""},
      {{{"HOME", "relative"}}, "", ""},
      {{{"HOME", ""}}, "", ""},
      {{}, "", ""},
  };
  for (const Case& c : cases) {
    const platform::EnvironmentLookup lookup = LookupIn(c.environment);
    EXPECT_EQ(platform::UserBaseFolder(platform::BaseFolder::DataHome, lookup), c.dataHome);
    EXPECT_EQ(platform::UserBaseFolder(platform::BaseFolder::ConfigHome, lookup), c.configHome);
  }
}

TEST(BaseFolders, SystemDataFoldersKeepTheAbsoluteEntriesInOrder) {
  struct Case {
    std::optional<std::string> dataDirs;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {std::nullopt, {"/usr/local/share", "/usr/share"}},
      {"", {"/usr/local/share", "/usr/share"}},
      {"/a::relative:/b/", {"/a", "/b/"}},
      {"relative", {}},
      {"/only", {"/only"}},
  };
  for (const Case& c : cases) {
    Environment environment;
    if (c.dataDirs) environment["XDG_DATA_DIRS"] = *c.dataDirs;
    EXPECT_EQ(platform::SystemDataFolders(LookupIn(environment)), c.want) << c.dataDirs.value_or("(unset)");
  }
}

}  // namespace
