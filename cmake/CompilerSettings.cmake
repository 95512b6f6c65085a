# One place for compiler settings: every target of the project links cw_settings.
add_library(cw_settings INTERFACE)
target_compile_features(cw_settings INTERFACE cxx_std_20)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(cw_settings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wmissing-declarations)
  if(CW_WERROR)
    target_compile_options(cw_settings INTERFACE -Werror)
  endif()
  if(CW_SANITIZE)
    target_compile_options(cw_settings INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(cw_settings INTERFACE -fsanitize=address,undefined)
  endif()
endif()
