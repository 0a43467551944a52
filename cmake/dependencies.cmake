# zlib, minizip, GoogleTest and Google Benchmark for the current flavour.
# Natively they come from Debian's -dev packages; for the windows flavour zlib
# comes from libz-mingw-w64-dev, minizip is compiled from the sources that
# scripts/setup.sh fetched into third_party/minizip, and GoogleTest from
# /usr/src/googletest with the mingw toolchain.

find_package(ZLIB REQUIRED)

if(VELMORA_WINDOWS)
  set(minizip_dir ${CMAKE_SOURCE_DIR}/third_party/minizip)
  if(NOT EXISTS ${minizip_dir}/unzip.c)
    message(FATAL_ERROR "minizip sources missing in ${minizip_dir}: run scripts/setup.sh")
  endif()
  add_library(minizip STATIC ${minizip_dir}/unzip.c ${minizip_dir}/ioapi.c ${minizip_dir}/zip.c)
  target_compile_options(minizip PRIVATE -w)
  # Headers are included as <minizip/unzip.h> in both flavours.
  target_include_directories(minizip PUBLIC ${CMAKE_SOURCE_DIR}/third_party)
  target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  add_library(minizip INTERFACE)
  # Debian installs the headers in /usr/include/minizip.
  target_link_libraries(minizip INTERFACE PkgConfig::MINIZIP ZLIB::ZLIB)
endif()

# libdeflate compresses the packer's entries natively (faster and smaller than
# zlib); Debian has no build of it for mingw, where the packer uses zlib.
add_library(velmora_deflate INTERFACE)
if(NOT VELMORA_WINDOWS)
  pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
  target_link_libraries(velmora_deflate INTERFACE PkgConfig::LIBDEFLATE)
  target_compile_definitions(velmora_deflate INTERFACE VELMORA_HAVE_LIBDEFLATE=1)
endif()

if(NOT VELMORA_FUZZ)
  if(VELMORA_WINDOWS)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Newer googletest sources define these aliases themselves.
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
    if(NOT TARGET GTest::gmock)
      add_library(GTest::gmock ALIAS gmock)
    endif()
  else()
    find_package(GTest REQUIRED)
    if(VELMORA_BENCH)
      find_package(benchmark REQUIRED)
    endif()
  endif()
endif()
