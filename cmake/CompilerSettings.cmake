# One place for compiler settings: every target of the project links cw_settings.
add_library(cw_settings INTERFACE)
target_compile_features(cw_settings INTERFACE cxx_std_20)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(cw_settings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wmissing-declarations)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports std::string concatenation at -O2 as overlapping memcpy (GCC bug 105329).
    target_compile_options(cw_settings INTERFACE -Wno-restrict)
  endif()
  if(CW_WERROR)
    target_compile_options(cw_settings INTERFACE -Werror)
  endif()
  if(CW_BUILD_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      message(FATAL_ERROR "CW_BUILD_FUZZ needs clang (CXX=clang++)")
    endif()
    # Coverage for libFuzzer in every library; the fuzz targets link the fuzzer itself.
    target_compile_options(cw_settings INTERFACE -fsanitize=fuzzer-no-link)
    target_link_options(cw_settings INTERFACE -fsanitize=fuzzer-no-link)
  endif()
  if(CW_SANITIZE)
    target_compile_options(cw_settings INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(cw_settings INTERFACE -fsanitize=address,undefined)
  endif()
endif()
