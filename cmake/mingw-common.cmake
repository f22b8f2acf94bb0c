# Shared by both mingw toolchain files; ORV_TRIPLET names the target.
set(CMAKE_C_COMPILER ${ORV_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORV_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORV_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: ov3.exe and kem3.dll must run with no mingw DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
