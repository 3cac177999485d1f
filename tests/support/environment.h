// Setting and removing environment variables in tests, the same way on Linux and on Windows (whose C library
// has no setenv: there an empty _putenv_s value removes the variable).
#pragma once
#include <cstdlib>

namespace testenv {

inline void Set(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

inline void Unset(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");
#else
  unsetenv(name);
#endif
}

}  // namespace testenv
