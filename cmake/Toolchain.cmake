# Compiler flags shared by every target of the project.

add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # gcc 12 at -O2 and above reports overlapping copies inside std::string's
  # own concatenation that cannot happen; clang builds keep the check.
  add_compile_options(-Wno-restrict)
endif()
# Release builds optimise the game world and the scenes across their files:
# the world step's many small accessors live in other files than their
# callers. Only those layers: the drawing code runs slower when optimised
# so. The floating-point options hold for the link-time compilation too
# (replays depend on them). -DRT_CROSS_FILE_OPTIMISATION=OFF turns it off.
option(RT_CROSS_FILE_OPTIMISATION "Optimise the world and scenes across files in Release" ON)
set(rt_cross_file OFF)
if(RT_CROSS_FILE_OPTIMISATION AND CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT RT_SANITIZE
   AND NOT RT_FUZZ)
  include(CheckIPOSupported)
  check_ipo_supported(RESULT rt_cross_file OUTPUT rt_ipo_output LANGUAGES C CXX)
  if(rt_cross_file)
    add_link_options(-ffp-contract=off -fno-fast-math)
    # Some warnings come only from the link-time compilation.
    if(RT_WERROR)
      add_link_options(-Werror)
    endif()
  endif()
endif()

if(RT_WERROR)
  add_compile_options(-Werror)
endif()

if(RT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(RT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "RT_FUZZ needs clang (configure with CXX=clang++ CC=clang)")
  endif()
  # Coverage instrumentation for the libraries; the fuzz targets add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
