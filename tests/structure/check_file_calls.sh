#!/usr/bin/env bash
# Fails when code above platform/ opens or names files, or reads the environment, without the platform: no fopen,
# C++ file streams, std::filesystem, getenv or POSIX file call, and no header that brings them. Only platform/os/
# turns a UTF-8 path into the form the system takes (wide characters on Windows), so every other way would fail
# there for a path with any non-ASCII character. getopt_long, which every target's C library has, stays allowed.
# Comments and string literals may name the calls; code may not.
set -u
root=${1:-.}
cd "$root" || exit 2

calls='fopen|freopen|fdopen|tmpfile|tmpnam|popen|_wfopen|_wopen|_popen|fseeko|ftello|_fseeki64|_ftelli64|getenv'
calls+='|secure_getenv|_wgetenv|setenv|putenv|unsetenv|open|openat|creat|close|read|write|pread|pwrite|lseek|stat'
calls+='|lstat|fstat|access|unlink|rmdir|mkdir|chdir|getcwd|realpath|opendir|readdir|mkstemp|fsync|truncate|rename'
# A call by its bare or std:: name (a member call such as in.read( or another namespace's function is not one),
# a file stream class, std::filesystem, or a header of files, folders or the environment.
pattern="(^|[^A-Za-z0-9_.>:]|std::)($calls)[[:space:]]*\\(|\\b(basic_)?(i|o)?fstream\\b|\\bfilebuf\\b|std::filesystem"
pattern+='|#[[:space:]]*include[[:space:]]*<(fstream|filesystem|unistd\.h|fcntl\.h|sys/[a-z]+\.h|dirent\.h|io\.h|direct\.h)>'

# Prints file:line:code for every match, with // comments and string literals removed first.
scan() {
  for file in "$@"; do
    sed -E 's://.*$::; s/"([^"\\]|\\.)*"/""/g' "$file" | grep -nE "$pattern" | sed "s|^|$file:|"
  done
}

mapfile -t upper < <(find app game gfx input audio \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)
if [ ${#upper[@]} -eq 0 ]; then
  echo "no program sources found under $root"
  exit 2
fi
hits=$(scan "${upper[@]}")
if [ -n "$hits" ]; then
  echo "File, folder or environment calls above platform/ (use platform/file_system.h or process_environment.h):"
  echo "$hits"
  exit 1
fi
echo "no file, folder or environment call above platform/ (${#upper[@]} files)"
