# The fuzz tree: the toolkit-free libraries built with coverage for libFuzzer
# and the sanitizers, and the fuzz targets over them. No Qt is looked for.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TW_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

add_subdirectory(textstore)
add_subdirectory(platform)
add_subdirectory(editor)
add_subdirectory(settings)
add_subdirectory(search)
add_subdirectory(app)
enable_testing()
add_subdirectory(fuzz)
