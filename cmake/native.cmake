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
add_subdirectory(tests/fuzz)

# The benchmark of the data utilities: the portable code once more, optimised
# and without the sanitizers, beside zlib's gzip functions and OpenSSL's MD5.
# A program to run by hand (scripts/bench), not a test.
find_package(OpenSSL REQUIRED)
add_library(zel_portable_optimised STATIC ${ZEL_PORTABLE_SOURCES})
target_include_directories(zel_portable_optimised PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(zel_portable_optimised PUBLIC -O2 -DNDEBUG -Wall -Wextra -Werror)
target_link_libraries(zel_portable_optimised PUBLIC ZLIB::ZLIB)

add_executable(zel_bench bench/data_utilities_bench.cpp)
target_link_libraries(zel_bench PRIVATE zel_portable_optimised OpenSSL::Crypto)
