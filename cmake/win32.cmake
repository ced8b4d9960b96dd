# The 32-bit Windows side: ZELSETUP.dll, the host zelhost.exe and the test
# programs that run under Wine.
enable_language(RC)

# The DLL, the host and the test programs side by side, as a host finds them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

set(ZEL_WARNINGS -Wall -Wextra -Werror)
set(ZEL_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# Everything of the module but its entry: linked into the DLL and into the
# test program that calls the internal routines.
add_library(zel_module OBJECT
    ${ZEL_PORTABLE_SOURCES}
    frame/module_app.cpp
    frame/setup_app.cpp
    frame/setup_messages.cpp
    frame/version_checks.cpp
    util/data_exports.cpp
    settings/product_registry.cpp
    settings/product_identity.cpp
    diag/debug_ring.cpp
    diag/action_log.cpp
    config/run_program.cpp
    config/post_install.cpp
    config/component_hooks.cpp
    config/common_desktop.cpp
    config/setup_program.cpp
    config/local_folder.cpp
    config/old_files.cpp
    restart/set_privilege.cpp
    restart/restart_windows.cpp
    config/provider_order.cpp
    apps/client_gate.cpp
    apps/service_control.cpp
    apps/server_apps.cpp
)
target_include_directories(zel_module PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
target_compile_definitions(zel_module PUBLIC ZELSETUP_BUILDING WINVER=0x0501 _WIN32_WINNT=0x0501)
target_compile_options(zel_module PRIVATE ${ZEL_WARNINGS})

# zlib from Debian's mingw-w64 package, linked statically like the run-time.
find_library(ZEL_ZLIB_STATIC NAMES libz.a REQUIRED)
set(ZEL_SYSTEM_LIBS ${ZEL_ZLIB_STATIC} shell32 ole32 user32 advapi32 kernel32)

add_library(zelsetup SHARED
    $<TARGET_OBJECTS:zel_module>
    frame/dll_main.cpp
    res/zelsetup.rc
    frame/exports.def
)
target_include_directories(zelsetup PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
target_compile_definitions(zelsetup PRIVATE ZELSETUP_BUILDING WINVER=0x0501 _WIN32_WINNT=0x0501)
target_compile_options(zelsetup PRIVATE ${ZEL_WARNINGS})
set_target_properties(zelsetup PROPERTIES OUTPUT_NAME ZELSETUP PREFIX "" SUFFIX ".dll")
target_link_options(zelsetup PRIVATE ${ZEL_STATIC_RUNTIME}
    -Wl,--nxcompat -Wl,--dynamicbase)
target_link_libraries(zelsetup PRIVATE ${ZEL_SYSTEM_LIBS})

add_subdirectory(host)
add_subdirectory(tests/win)

# The shipped DLL's headers (DEP, ASLR, no writable code, system imports only)
# and the module's sources (no unbounded C string function).
add_test(NAME dll_headers COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-binary $<TARGET_FILE:zelsetup>)
add_test(NAME module_sources_bounded COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-sources)
