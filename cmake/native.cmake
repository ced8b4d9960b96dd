# The native side: the code that needs no <windows.h>, under AddressSanitizer
# and UndefinedBehaviorSanitizer.
find_package(GTest REQUIRED)
find_package(ZLIB REQUIRED)

set(ZEL_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(zel_portable STATIC ${ZEL_PORTABLE_SOURCES})
target_include_directories(zel_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(zel_portable PUBLIC ${ZEL_SANITIZERS} -g -Wall -Wextra -Werror)
target_link_options(zel_portable PUBLIC ${ZEL_SANITIZERS})
target_link_libraries(zel_portable PUBLIC ZLIB::ZLIB)

add_subdirectory(tests/native)
