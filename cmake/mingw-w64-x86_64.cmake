# Cross-compiles the core for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The executables are linked statically, so they run under Wine or on Windows without the MinGW
# runtime DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVANTA_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model: GoogleTest needs std::mutex and std::thread.
set(CMAKE_C_COMPILER ${ORVANTA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANTA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANTA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVANTA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 warns of overlapping copies inside std::u16string's operator+ once it is inlined at -O2
# (GCC bug 105329, a false alarm in the library's own code); with warnings as errors that would stop
# the build.
# The hardening Debian's build gives the Linux program: a canary on every function with an array or
# a local whose address is taken (-fstack-protector-strong), and the C library's checked copies of
# memcpy, strcpy, sprintf and the like where the size is known (_FORTIFY_SOURCE=2). mingw-w64 takes
# both from libssp, which -static links into orvanta.exe: no libssp DLL beside it.
set(ORVANTA_MINGW_HARDENING "-fstack-protector-strong -D_FORTIFY_SOURCE=2")
set(CMAKE_C_FLAGS_INIT "${ORVANTA_MINGW_HARDENING}")
set(CMAKE_CXX_FLAGS_INIT "${ORVANTA_MINGW_HARDENING} -Wno-restrict")
# No link time in the PE header, so two builds of the same sources give the same orvanta.exe.
# Windows loads the program at a random address, anywhere in the 64-bit space, and runs no code
# from its data (--dynamicbase, --high-entropy-va, --nxcompat: binutils' defaults since 2.36, named
# so that no other linker leaves them out; scripts/package.sh checks the header).
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -fstack-protector-strong -Wl,--no-insert-timestamp -Wl,--dynamicbase,--high-entropy-va,--nxcompat")

# ctest and gtest_discover_tests run the test executables through Wine.
find_program(ORVANTA_WINE NAMES wine wine64)
if(ORVANTA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVANTA_WINE})
endif()
