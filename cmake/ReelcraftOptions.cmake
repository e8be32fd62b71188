# One INTERFACE target carries the warnings, Qt's safety macros and the sanitizer flags;
# every target of the project links it.
add_library(reelcraft_options INTERFACE)
target_compile_options(reelcraft_options INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(reelcraft_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(REELCRAFT_SANITIZE)
    target_compile_options(reelcraft_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(reelcraft_options INTERFACE -fsanitize=address,undefined)
endif()

if(REELCRAFT_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "REELCRAFT_FUZZ needs clang")
endif()
