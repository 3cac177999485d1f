# Builds the program for Linux on 64-bit ARM with Debian's cross compiler, against the arm64 libraries Debian's
# multiarch installs beside the machine's own; the build's programs and tests run here through QEMU user emulation.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# pkg-config reads the arm64 .pc files only, never the machine's own.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The programs start through qemu-aarch64: the build's asset generator and screenshots, and every test. The arm64
# dynamic loader and libraries are in the machine's own multiarch folders, so no other root is needed.
find_program(TAVO_QEMU_AARCH64 qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVO_QEMU_AARCH64})
