# In the sanitizer build every executable carries its own sanitizer options,
# so a test, the program or the batch tool started by hand stops at the first
# report exactly as under ctest. Options given in ASAN_OPTIONS, UBSAN_OPTIONS
# or LSAN_OPTIONS still override them.
if(NOT TAVRIN_SANITIZE)
  return()
endif()

add_library(tavrin_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/sanitizers/SanitizerDefaults.cpp)
target_compile_definitions(tavrin_sanitizer_defaults PRIVATE
  TAVRIN_LSAN_SUPPRESSIONS="${CMAKE_CURRENT_LIST_DIR}/sanitizers/lsan.supp")
# Every target defined after this line, in this folder and below.
link_libraries(tavrin_sanitizer_defaults)
